// The file loader of ".PCX": the shared source reader with the flags
// unchanged, like the JPEG loader.
#include "images/format_handlers.h"
#include "images/image_source.h"

namespace lumbra {

ImagePtr LoadPcxImage(ImageOwner* owner, std::string_view name, bool fromResource,
                      ImageLoadFlags flags) {
  return ReadImageSource(owner, name, fromResource, flags, DecodePcx);
}

}  // namespace lumbra

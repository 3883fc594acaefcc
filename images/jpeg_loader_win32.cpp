// The file loader of ".JPG" and ".JPE": the shared source reader with the
// flags unchanged, so the source is dropped when DiscardSource is set (the
// image paints from its DecodedImage).
#include "images/format_handlers.h"
#include "images/image_source.h"

namespace lumbra {

ImagePtr LoadJpegImage(ImageOwner* owner, std::string_view name, bool fromResource,
                       ImageLoadFlags flags) {
  return ReadImageSource(owner, name, fromResource, flags, DecodeJpeg);
}

}  // namespace lumbra

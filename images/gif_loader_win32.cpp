// The GIF loader: a GIF decodes its frames from the file bytes, which are
// kept.
#include "images/format_handlers.h"
#include "images/image_source.h"

namespace lumbra {

ImagePtr LoadGifImage(ImageOwner* owner, std::string_view name, bool fromResource,
                      ImageLoadFlags flags) {
  return ReadImageSource(owner, name, fromResource,
                         static_cast<ImageLoadFlags>(flags & ~DiscardSource), DecodeGif);
}

}  // namespace lumbra

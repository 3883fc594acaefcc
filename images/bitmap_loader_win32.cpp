// The bitmap loader: BMP files paint from their bytes, which are kept.
#include "images/bitmap_image.h"
#include "images/format_handlers.h"
#include "images/image_source.h"

namespace lumbra {

ImagePtr LoadBitmapImage(ImageOwner* owner, std::string_view name, bool fromResource,
                         ImageLoadFlags flags) {
  return ReadImageSource(owner, name, fromResource,
                         static_cast<ImageLoadFlags>(flags & ~DiscardSource), DecodeBitmap);
}

}  // namespace lumbra

// The PCX memory decoder behind ".PCX"; it recognises its files by the
// header checks alone.
#include "codecs/pcx_reader.h"
#include "images/format_handlers.h"
#include "images/jpeg_loader.h"

namespace lumbra {

ImagePtr DecodePcx(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags) {
  return BitmapFromDecodedImage(owner, DecodePcxImage(bytes, (flags & SizeOnly) != 0), flags,
                                ".pcx");
}

}  // namespace lumbra

// The PCX memory decoder behind ".PCX"; it recognises its files by the
// header checks alone.
#include "codecs/format_handlers.h"
#include "codecs/jpeg_loader.h"
#include "codecs/pcx_reader.h"

namespace lumbra {

ImagePtr DecodePcx(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags) {
  return BitmapFromDecodedImage(owner, DecodePcxImage(bytes, (flags & SizeOnly) != 0), flags,
                                ".pcx");
}

}  // namespace lumbra

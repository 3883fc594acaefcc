#include "images/jpeg_loader.h"

#include <utility>

#include "codecs/jpeg_decompress.h"
#include "images/bitmap_image.h"
#include "images/format_handlers.h"

namespace lumbra {

ImagePtr BitmapFromDecodedImage(ImageOwner* owner, std::optional<std::vector<std::uint8_t>> block,
                                ImageLoadFlags flags, std::string_view extension) {
  if (!block) return nullptr;
  auto image = DecodeBitmapImage(owner, *block, flags);
  if (!image) return nullptr;
  // With SizeOnly the block has given its size and is dropped here.
  if ((flags & SizeOnly) == 0) image->SetDecodedImage(std::move(*block));
  image->SetDefaultExtension(extension);
  return image;
}

ImagePtr DecodeJpeg(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags) {
  if (!IsJpegStart(bytes)) return nullptr;
  return BitmapFromDecodedImage(owner, DecodeJpegImage(bytes, (flags & SizeOnly) != 0), flags,
                                ".jpg");
}

}  // namespace lumbra

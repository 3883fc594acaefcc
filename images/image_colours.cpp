// The colours that bitmap and GIF images contribute to a window palette. A
// 24-bit image is converted to 8 bits first and keeps the converted block.
#include <algorithm>

#include "codecs/decoded_image.h"
#include "display/colour_collector.h"
#include "display/eight_bit_conversion.h"
#include "images/bitmap_image.h"
#include "images/gif_image.h"

namespace lumbra {

void BitmapImage::AddColours(PaletteTarget* palette) {
  windowPalette_ = palette;
  if (palette == nullptr) return;
  auto layout = CheckDecodedImage(PaintedBytes());
  if (layout && layout->header.bitCount == 24) {
    auto converted = ConvertTo8Bit(PaintedBytes(), TheColourCollector());
    if (!converted) return;
    decoded_ = std::move(*converted);
    layout = CheckDecodedImage(PaintedBytes());
  }
  if (!layout || layout->header.bitCount > 8) return;
  std::uint32_t count = 1u << layout->header.bitCount;
  if (layout->header.clrImportant != 0) {
    count = layout->header.clrImportant;
  } else if (layout->header.clrUsed != 0) {
    count = layout->header.clrUsed;
  }
  // The table is read only as far as it lies inside the bytes.
  palette->AddColourTable(layout->colours, std::min(count, layout->colourCount));
}

void GifImage::AddColours(PaletteTarget* palette) {
  windowPalette_ = palette;
  if (palette == nullptr || frame_.empty()) return;
  const std::uint32_t used = std::min<std::uint32_t>(ReadU32(frame_.data() + 32), 256);
  palette->AddColourTable(frame_.data() + kInfoHeaderSize, used);
}

}  // namespace lumbra

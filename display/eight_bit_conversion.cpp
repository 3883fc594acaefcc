// 24-bit images to 8-bit images through the colour collector.
#include "display/eight_bit_conversion.h"

#include <algorithm>
#include <new>

#include "codecs/decoded_image.h"

namespace lumbra {

namespace {

constexpr std::uint32_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
constexpr std::uint32_t kTableSize = 256 * 4;

Colour PixelColour(const std::uint8_t* bgr) { return MakeColour(bgr[2], bgr[1], bgr[0]); }

// Keeps the collector's colours aside for as long as it lives.
class ColoursSetAside {
 public:
  explicit ColoursSetAside(ColourCollector& collector) : collector_(collector) {
    collector_.SetAside();
  }
  ~ColoursSetAside() {
    collector_.FreeTree();
    collector_.Restore();
  }
  ColoursSetAside(const ColoursSetAside&) = delete;
  ColoursSetAside& operator=(const ColoursSetAside&) = delete;

 private:
  ColourCollector& collector_;
};

// Gathers the image's colours. The collector holds at most 16,000, which
// a photo reaches within its first few rows; the pixels are therefore
// visited on a grid that starts coarse and is refined step by step, so that
// a full collector holds colours from the whole picture rather than from
// its bottom edge. An image with fewer colours gives every one of them.
void CollectColours(const DibLayout& layout, ColourCollector& collector) {
  const std::int32_t width = layout.header.width;
  const std::uint32_t rows = layout.rows;
  if (rows == 0 || width <= 0) return;
  std::uint32_t coarsest = 1;
  while (coarsest < 64 && coarsest < std::max<std::uint32_t>(rows, width)) coarsest *= 2;
  Colour previous = PixelColour(layout.bits);
  collector.AddPixel(previous);
  for (std::uint32_t step = coarsest; step >= 1 && !collector.full(); step /= 2) {
    for (std::uint32_t y = 0; y < rows && !collector.full(); y += step) {
      const std::uint8_t* p = layout.bits + std::size_t{y} * layout.stride;
      const bool rowSeen = step < coarsest && y % (2 * step) == 0;
      for (std::uint32_t x = rowSeen ? step : 0; x < static_cast<std::uint32_t>(width);
           x += rowSeen ? 2 * step : step) {
        const Colour c = PixelColour(p + 3 * std::size_t{x});
        if (c != previous) collector.AddPixel(c);
        previous = c;
      }
    }
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ConvertTo8Bit(std::span<const std::uint8_t> image,
                                                       ColourCollector& collector) {
  const auto layout = CheckDecodedImage(image);
  if (!layout || layout->header.bitCount != 24 || layout->header.compression != 0 ||
      !layout->complete()) {
    return std::nullopt;
  }
  const std::int32_t width = layout->header.width;
  const std::uint32_t rows = layout->rows;
  const std::uint32_t stride = RowStride(width, 8);
  const std::uint64_t size = kHeadersSize + kTableSize + std::uint64_t{stride} * rows;
  if (stride == 0 || size > 0xFFFFFFFFull) return std::nullopt;

  ColoursSetAside aside(collector);
  CollectColours(*layout, collector);
  const std::uint32_t reduced = collector.Reduce(256);

  std::vector<std::uint8_t> out;
  try {
    out.assign(static_cast<std::size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  std::copy_n(image.begin(), kHeadersSize, out.begin());
  WriteU32(out.data() + 2, static_cast<std::uint32_t>(size));
  WriteU32(out.data() + 10, kHeadersSize + kTableSize);
  BitmapInfoHeader header = layout->header;
  header.size = kInfoHeaderSize;
  header.bitCount = 8;
  header.clrUsed = 0;
  header.sizeImage = stride * rows;
  header.clrImportant = reduced;
  WriteInfoHeader(out.data() + kFileHeaderSize, header);

  std::uint8_t* table = out.data() + kHeadersSize;
  for (std::uint32_t i = 0; i < reduced; ++i) {
    const Colour c = collector.colours()[i];
    table[4 * i] = ColourComponent(c, 2);
    table[4 * i + 1] = ColourComponent(c, 1);
    table[4 * i + 2] = ColourComponent(c, 0);
  }

  std::uint8_t* indices = table + kTableSize;
  Colour last = PixelColour(layout->bits);
  auto index = static_cast<std::uint8_t>(collector.FindIndex(last));
  for (std::uint32_t row = 0; row < rows; ++row) {
    const std::uint8_t* p = layout->bits + std::size_t{row} * layout->stride;
    std::uint8_t* to = indices + std::size_t{row} * stride;
    for (std::int32_t x = 0; x < width; ++x) {
      const Colour c = PixelColour(p + 3 * x);
      if (c != last) {
        last = c;
        index = static_cast<std::uint8_t>(collector.FindIndex(c));
      }
      to[x] = index;
    }
  }
  return out;
}

}  // namespace lumbra

// A writer of 24-bit BMP file images for the display tests.
#pragma once

#include <cstdint>
#include <vector>

#include "codecs/decoded_image.h"

namespace lumbra::testing {

// A 24-bit BMP of width x height whose pixel (x, y), y from the top, is
// colour(x, y) as 0x00BBGGRR; the rows' padding bytes are 0xEE.
template <typename F>
std::vector<std::uint8_t> MakeBmp24(std::int32_t width, std::int32_t height, F colour) {
  const std::uint32_t stride = RowStride(width, 24);
  std::vector<std::uint8_t> out(54 + std::size_t{stride} * static_cast<std::uint32_t>(height),
                                0xEE);
  out[0] = 'B';
  out[1] = 'M';
  WriteU32(out.data() + 2, static_cast<std::uint32_t>(out.size()));
  WriteU32(out.data() + 6, 0);
  WriteU32(out.data() + 10, 54);
  BitmapInfoHeader h;
  h.width = width;
  h.height = height;
  h.bitCount = 24;
  h.sizeImage = stride * static_cast<std::uint32_t>(height);
  h.xPelsPerMeter = 2835;
  h.yPelsPerMeter = 2836;
  WriteInfoHeader(out.data() + 14, h);
  for (std::int32_t y = 0; y < height; ++y) {
    std::uint8_t* row =
        out.data() + 54 + std::size_t{stride} * static_cast<std::size_t>(height - 1 - y);
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint32_t c = colour(x, y);
      row[3 * x] = static_cast<std::uint8_t>(c >> 16);
      row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(c);
    }
  }
  return out;
}

}  // namespace lumbra::testing

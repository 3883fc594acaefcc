// 24-bit BMP files written by tests, pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace lumbra {

// A 24-bit BMP file whose pixel (x, y), y counted from the top, has the
// colour colourAt(x, y).
inline void WriteBmp24(const std::string& name, int width, int height,
                       const std::function<COLORREF(int x, int y)>& colourAt) {
  const int stride = (width * 3 + 3) & ~3;
  const std::uint32_t size = 54 + static_cast<std::uint32_t>(stride * height);
  std::vector<std::uint8_t> b(size, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  b[26] = 1;
  b[28] = 24;
  for (int row = 0; row < height; ++row) {  // bottom-up
    for (int x = 0; x < width; ++x) {
      const COLORREF colour = colourAt(x, height - 1 - row);
      std::uint8_t* p = &b[54 + static_cast<std::size_t>(row * stride + x * 3)];
      p[0] = GetBValue(colour);
      p[1] = GetGValue(colour);
      p[2] = GetRValue(colour);
    }
  }
  std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), size);
}

}  // namespace lumbra

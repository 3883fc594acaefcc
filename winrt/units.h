// Window units: dialog units scaled by the window font's base units, or
// one unit per pixel.
#pragma once

#include <cstdint>

namespace lumbra {

struct UnitRect {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const UnitRect&, const UnitRect&) = default;
};

// Horizontal base unit = 4 dialog units, vertical base unit = 8.
struct UnitScale {
  std::int32_t baseX = 4;
  std::int32_t baseY = 8;
  bool pixels = false;  // one unit per pixel (property 0x7C1E)

  std::int32_t XToPixels(std::int32_t units) const;
  std::int32_t YToPixels(std::int32_t units) const;
  std::int32_t XToUnits(std::int32_t pixels) const;
  std::int32_t YToUnits(std::int32_t pixels) const;
  UnitRect ToPixels(const UnitRect& r) const;
  UnitRect ToUnits(const UnitRect& r) const;
};

// a * b / c rounded to the nearest, halves away from zero; 0 when c is 0.
std::int32_t ScaleRounded(std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace lumbra

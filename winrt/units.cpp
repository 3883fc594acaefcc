#include "winrt/units.h"

#include <cstdlib>

namespace lumbra {

std::int32_t ScaleRounded(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return 0;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = std::llabs(c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t UnitScale::XToPixels(std::int32_t u) const {
  return pixels ? u : ScaleRounded(u, baseX, 4);
}
std::int32_t UnitScale::YToPixels(std::int32_t u) const {
  return pixels ? u : ScaleRounded(u, baseY, 8);
}
std::int32_t UnitScale::XToUnits(std::int32_t p) const {
  return pixels ? p : ScaleRounded(p, 4, baseX);
}
std::int32_t UnitScale::YToUnits(std::int32_t p) const {
  return pixels ? p : ScaleRounded(p, 8, baseY);
}

UnitRect UnitScale::ToPixels(const UnitRect& r) const {
  return {XToPixels(r.x), YToPixels(r.y), XToPixels(r.width), YToPixels(r.height)};
}
UnitRect UnitScale::ToUnits(const UnitRect& r) const {
  return {XToUnits(r.x), YToUnits(r.y), XToUnits(r.width), YToUnits(r.height)};
}

}  // namespace lumbra

#include "app/status_texts.h"

#include <array>

namespace lumbra {

namespace {
constexpr std::array<std::string_view, 4> kModeNames = {"Normal", "Stretched", "Tiled", "Best Fit"};
}  // namespace

std::string PathStatus(std::string_view longPath, std::int32_t position, std::uint32_t count) {
  return std::string(longPath) + "  (" + std::to_string(position) + " of " + std::to_string(count) +
         ")";
}

std::string SizeStatus(bool badImage, std::int32_t width, std::int32_t height) {
  if (badImage) return "Bad Image";
  return std::to_string(width) + "x" + std::to_string(height);
}

std::string ZoomStatus(std::int32_t zoom) { return std::to_string(zoom) + "%"; }

std::string_view ModeStatus(std::int32_t mode) {
  if (mode < 1 || mode > static_cast<std::int32_t>(kModeNames.size())) return {};
  return kModeNames[static_cast<std::size_t>(mode - 1)];
}

}  // namespace lumbra

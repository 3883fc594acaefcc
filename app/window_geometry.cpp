#include "app/window_geometry.h"

#include <cstdlib>
#include <string>

#include "app/main_window_controls.h"
#include "winrt/window.h"

namespace lumbra {

namespace {
constexpr std::int32_t kStatusBarHeight = 22;
}  // namespace

std::int32_t PropertyNumber(std::int32_t control, std::uint32_t property) {
  return static_cast<std::int32_t>(
      std::strtol(GetProperty(control, property).c_str(), nullptr, 10));
}

std::int32_t WindowWidth() { return PropertyNumber(0, PROP::Width); }
std::int32_t WindowHeight() { return PropertyNumber(0, PROP::Height); }
std::int32_t ToolbarHeight() { return PropertyNumber(MW::Toolbar, PROP::Height); }

void CentreRule(std::int32_t control) {
  const std::int32_t width = PropertyNumber(control, PROP::Width);
  SetControlPosition(control, (WindowWidth() - width) / 2,
                     (WindowHeight() - (ToolbarHeight() + kStatusBarHeight)) / 2);
}

}  // namespace lumbra

// The check marks of the main menu's radio items: one byte per item, bound
// to the items when the main window is built, set from the display state.
#pragma once

#include <array>
#include <cstdint>

namespace lumbra {

// 4 display modes, 8 zoom steps, 6 sort orders, in menu order.
inline constexpr std::size_t kMenuCheckCount = 18;
extern std::array<std::uint8_t, kMenuCheckCount> MenuChecks;

// Each sets its group of marks from PS:IMAGEMODE, PS:IMAGEZOOM (no step
// checked for a zoom between the steps) or PS:SORTORDER and redisplays.
void MarkModeMenu();
void MarkZoomMenu();
void MarkSortMenu();

}  // namespace lumbra

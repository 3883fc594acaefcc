// Popup menus described by a popup-menu text (see popup_menu_text.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

// A coordinate taken from the mouse position.
constexpr std::int32_t kPopupAtMouse = INT32_MIN;  // 0x80000000

// Shows the menu at screen position x, y (pixels; either one kPopupAtMouse
// takes the mouse pointer's) and waits until it closes. Both mouse buttons
// choose. Returns the number of the chosen item, 0 when the menu was
// dismissed or has nothing to choose. The focus returns to where it was.
std::int32_t PopupMenu(std::string_view text, std::int32_t x = kPopupAtMouse,
                       std::int32_t y = kPopupAtMouse);

}  // namespace lumbra

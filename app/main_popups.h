// The main window's popup menus: the main popup of the right mouse button,
// the zoom button's and the sort button's, with their marks set from the
// display state before each is shown.
#pragma once

#include <cstdint>

namespace lumbra {

// Mark the popup texts: the entry of the display mode, of the zoom (or
// Custom for a zoom between the steps) and of the sort order checked; the
// Zoom submenu greyed outside Normal mode, Image List with one entry or
// none.
void MarkModePopup();
void MarkZoomPopup();
void MarkSortPopup();

// Each pops its menu up at the mouse and returns the entry chosen, 0 for
// none.
std::int32_t PopUpMainMenu();
std::int32_t PopUpZoomMenu();
std::int32_t PopUpSortMenu();

}  // namespace lumbra

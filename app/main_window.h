// The main viewer window: its first set-up and the handling of its events.
#pragma once

namespace lumbra {

// After the window has opened: pixel units, the saved geometry and colour,
// the display state's first values, the auxiliary controls laid out and
// every mark set.
void SetUpMainWindow();

// The wallpaper of one black pixel with Fix Animated GIFs on, none without.
void ApplyBackground();

// The loop body of the main window: one event, its pass result.
int MainWindowEvent();

}  // namespace lumbra

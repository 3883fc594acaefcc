// Where a window opens whose description leaves its position to the
// runtime: a window opened from another one is centred on it, as a dialog
// is on its owner, and kept on the work area of that window's screen.
#include <windows.h>

#include <algorithm>

#include "winrt/window_internal_win32.h"

namespace lumbra::internal {

void PlaceOnOwner(HWND window, HWND owner) {
  if (!window || !owner || !IsWindowVisible(owner) || IsIconic(owner)) return;
  RECT around, own;
  GetWindowRect(owner, &around);
  GetWindowRect(window, &own);
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  LONG x = around.left + (around.right - around.left - width) / 2;
  LONG y = around.top + (around.bottom - around.top - height) / 2;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    x = std::max(work.left, std::min(x, work.right - width));
    y = std::max(work.top, std::min(y, work.bottom - height));
  }
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lumbra::internal

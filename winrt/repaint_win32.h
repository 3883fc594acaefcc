// Repainting a window with everything on it, its background included.
#pragma once

#include <windows.h>

namespace lumbra {

inline void RepaintWithChildren(HWND hwnd) {
  if (hwnd) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace lumbra

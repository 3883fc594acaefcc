// A window's palette: made when the window opens on a palette display, fed
// with the wallpaper's colours, realised on the palette messages.
#include <windows.h>

#include "display/window_palette_win32.h"
#include "winrt/window_internal_win32.h"

namespace lumbra::internal {

void CreateWindowPalette(Window* w) {
  w->native->palette =
      WindowPalette::Create(w->native->hwnd, kWindowPaletteEntries, [w](PaletteTarget& palette) {
        if (w->native && w->native->wallpaper) w->native->wallpaper->AddColours(&palette);
      });
}

std::optional<LRESULT> PaletteMessage(Window* w, UINT msg, WPARAM wp, LPARAM) {
  WindowPalette* palette = w->native->palette.get();
  HWND hwnd = w->native->hwnd;
  switch (msg) {
    case WM_QUERYNEWPALETTE:
      if (!palette) return std::nullopt;
      return palette->RealiseForWindow(hwnd, false);
    case WM_PALETTECHANGED: {
      // The change this window's own realisation caused needs no answer.
      const auto changer = reinterpret_cast<HWND>(wp);
      if (!palette || changer == hwnd || IsChild(hwnd, changer)) return std::nullopt;
      palette->RealiseForWindow(hwnd, true);
      return 0;
    }
    case kQueryColours:
      // A window inside another gives its wallpaper's colours to that
      // window's palette; its controls answer for themselves.
      if (w->native->wallpaper) {
        w->native->wallpaper->AddColours(reinterpret_cast<PaletteTarget*>(wp));
      }
      return 0;
    default: return std::nullopt;
  }
}

}  // namespace lumbra::internal

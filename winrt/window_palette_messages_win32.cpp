// A window's palette: made when the window opens on a palette display, fed
// with the wallpaper's colours, realised on the palette messages.
#include <windows.h>

#include <initializer_list>

#include "display/window_palette_win32.h"
#include "winrt/menus_win32.h"
#include "winrt/window_internal_win32.h"

namespace lumbra::internal {

namespace {

// The colours the window itself needs: its background colour and
// wallpaper, the colours of its controls (texts, backgrounds, fills,
// frames, selection bars and grid lines) and of its tool bar with the
// bar's pictures. Image controls and other child windows answer for their
// images when the palette asks them.
void AddWindowColours(Window* w, PaletteTarget& target) {
  if (!w->native || !w->native->palette) return;
  WindowPalette& palette = *w->native->palette;
  palette.AddColour(w->plan.background);
  if (w->native->wallpaper) w->native->wallpaper->AddColours(&target);
  for (const auto& c : w->native->controls) {
    for (std::int32_t colour :
         {c->textColour, c->background, c->fill, c->plan.frameColour, c->plan.selectedText,
          c->plan.selectedBackground, c->plan.gridColour}) {
      palette.AddColour(colour);
    }
  }
  AddToolBarColours(w, target);
}

}  // namespace

void CreateWindowPalette(Window* w) {
  w->native->palette =
      WindowPalette::Create(w->native->hwnd, kWindowPaletteEntries,
                            [w](PaletteTarget& palette) { AddWindowColours(w, palette); });
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

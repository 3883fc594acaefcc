// What lies behind a window's controls: its background colour, its
// wallpaper, and the scrolling of its contents.
#include <windows.h>

#include <algorithm>

#include "winrt/repaint_win32.h"
#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra::internal {

void PaintBackdrop(Window* w, HWND child, HDC dc) {
  if (!w || !w->native || !w->native->hwnd) return;
  if (w->native->palette) w->native->palette->SelectInto(dc);
  RECT client;
  GetClientRect(w->native->hwnd, &client);
  POINT origin = {0, 0};
  if (child != w->native->hwnd) MapWindowPoints(child, w->native->hwnd, &origin, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  HBRUSH brush = w->native->background.handle ? static_cast<HBRUSH>(w->native->background.handle)
                                              : GetSysColorBrush(COLOR_BTNFACE);
  FillRect(dc, &client, brush);
  if (w->native->wallpaper) w->native->wallpaper->Paint(dc, client);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void SetBackgroundColour(Window* w, std::int32_t colour) {
  w->plan.background = colour;
  w->native->background =
      GdiObject(colour >= 0 ? CreateSolidBrush(static_cast<COLORREF>(colour)) : nullptr);
  RepaintWithChildren(w->native->hwnd);
}

namespace {

constexpr int kLastPosition = 255;

int Axis(int bar) { return bar == SB_HORZ ? 0 : 1; }

// The windows that scroll with the contents: the controls and tab pages
// that lie directly on the window; the tool bar stays at the top.
template <typename F>
void ForScrolledWindows(Window* w, F&& f) {
  for (auto& c : w->native->controls) {
    if (c->hwnd && GetParent(c->hwnd) == w->native->hwnd && c->plan.type != ControlType::ToolBar) {
      f(c->hwnd);
    }
    if (c->page) f(c->page);
  }
}

// How far the contents reach beyond the client area along one axis, in
// pixels, measured where they would lie unscrolled.
int Overhang(Window* w, int axis) {
  RECT client;
  GetClientRect(w->native->hwnd, &client);
  int reach = 0;
  ForScrolledWindows(w, [&](HWND hwnd) {
    if (!IsWindowVisible(hwnd)) return;
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, w->native->hwnd, reinterpret_cast<POINT*>(&r), 2);
    const int end = (axis == 0 ? r.right : r.bottom) + w->native->scrollOffset[axis];
    reach = std::max(reach, end);
  });
  const int size = axis == 0 ? client.right : client.bottom;
  return std::max(0, reach - size);
}

}  // namespace

void SetWindowScrollBar(Window* w, int bar, bool on) {
  if (on) {
    SetScrollRange(w->native->hwnd, bar, 0, kLastPosition, FALSE);
    SetScrollPos(w->native->hwnd, bar, w->native->scrollPosition[Axis(bar)], TRUE);
  } else {
    SetWindowScrollPosition(w, bar, 0);
  }
  ShowScrollBar(w->native->hwnd, bar, on ? TRUE : FALSE);
}

// Positions 0 to 255 map onto the part of the contents that lies beyond
// the client area: 0 shows their start, 255 their end.
void SetWindowScrollPosition(Window* w, int bar, int position) {
  const int axis = Axis(bar);
  position = std::clamp(position, 0, kLastPosition);
  // The bar is drawn again only when its thumb moves.
  if (position != w->native->scrollPosition[axis]) {
    w->native->scrollPosition[axis] = position;
    SetScrollPos(w->native->hwnd, bar, position, TRUE);
  }
  const int offset = MulDiv(Overhang(w, axis), position, kLastPosition);
  const int delta = offset - w->native->scrollOffset[axis];
  if (delta == 0) return;
  w->native->scrollOffset[axis] = offset;
  ForScrolledWindows(w, [&](HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, w->native->hwnd, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(hwnd, nullptr, r.left - (axis == 0 ? delta : 0), r.top - (axis == 1 ? delta : 0),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  });
  RepaintWithChildren(w->native->hwnd);
}

void ScrollWindowBy(Window* w, int bar, WORD request) {
  int position = w->native->scrollPosition[Axis(bar)];
  switch (request) {
    case SB_LINEUP: position -= 3; break;
    case SB_LINEDOWN: position += 3; break;
    case SB_PAGEUP: position -= 64; break;
    case SB_PAGEDOWN: position += 64; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = kLastPosition; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(w->native->hwnd, bar, &info);
      position = info.nTrackPos;
      break;
    }
    default: return;
  }
  SetWindowScrollPosition(w, bar, position);
}

}  // namespace lumbra::internal

// The statements that address a window's controls: visibility, geometry,
// selection, properties and drops.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/phase_trace.h"
#include "winrt/event_codes.h"
#include "winrt/menus_win32.h"
#include "winrt/repaint_win32.h"
#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra {

using namespace internal;

namespace {
bool InRange(std::int32_t number, std::int32_t first, std::int32_t last) {
  return first == 0 || (number >= first && number <= last);
}

template <typename F>
void ForRange(std::int32_t first, std::int32_t last, F&& f) {
  Window* w = Addressed();
  if (!w || !w->native) return;
  if (last == 0) last = first;
  for (auto& c : w->native->controls) {
    if (InRange(c->plan.number, first, last)) f(c.get());
  }
}

// The same over the range and everything its controls hold (the controls
// of a group, an option or a tab), so that hiding a panel hides what is on
// it.
template <typename F>
void ForRangeAndContents(std::int32_t first, std::int32_t last, F&& f) {
  Window* w = Addressed();
  if (!w || !w->native) return;
  if (last == 0) last = first;
  for (auto& c : w->native->controls) {
    const ControlObject* holder = c.get();
    for (int depth = 0; holder && depth < 32; ++depth) {
      if (InRange(holder->plan.number, first, last)) {
        f(c.get());
        break;
      }
      holder = FindControl(w, holder->plan.parent);
    }
  }
}

// A control enabled or disabled with its menu entry and spin arrows. A
// window already in the state is left alone: every step through the image
// list sets the states of the navigation and zoom commands again, and each
// change costs the platform a round trip.
void SetControlEnabled(ControlObject* c, bool on) {
  if (IsMenuEntry(c)) EnableMenuEntry(c, on);
  for (HWND hwnd : {c->hwnd, c->arrows}) {
    if (hwnd && (IsWindowEnabled(hwnd) != FALSE) != on) EnableWindow(hwnd, on ? TRUE : FALSE);
  }
}

}  // namespace

void RedisplayControls(std::int32_t first, std::int32_t last) {
  const PhaseScope phase("Display()");
  if (first == 0) last = 0;
  ForRange(first, last, [](ControlObject* c) { Redisplay(c); });
}
void HideControls(std::int32_t first, std::int32_t last) {
  PhaseMarkNumber("hide control", first);
  ForRangeAndContents(first, last, [](ControlObject* c) {
    if (IsMenuEntry(c)) ShowMenuEntry(c, false);
    if (c->hwnd) ShowWindow(c->hwnd, SW_HIDE);
    if (c->page) ShowWindow(c->page, SW_HIDE);
    if (c->arrows) ShowWindow(c->arrows, SW_HIDE);
  });
}
void ShowControls(std::int32_t first, std::int32_t last) {
  PhaseMarkNumber("show control", first);
  ForRangeAndContents(first, last, [](ControlObject* c) {
    if (IsMenuEntry(c)) ShowMenuEntry(c, true);
    if (c->hwnd) ShowWindow(c->hwnd, SW_SHOW);
    if (c->plan.type == ControlType::Sheet && c->hwnd) ShowTabPages(c->window, c);
    if (c->arrows) ShowWindow(c->arrows, SW_SHOW);
  });
}
void EnableControls(std::int32_t first, std::int32_t last) {
  const PhaseScope phase("enable menu item/button");
  ForRangeAndContents(first, last, [](ControlObject* c) { SetControlEnabled(c, true); });
}
void DisableControls(std::int32_t first, std::int32_t last) {
  const PhaseScope phase("disable menu item/button");
  ForRangeAndContents(first, last, [](ControlObject* c) { SetControlEnabled(c, false); });
}

namespace {

// The geometry of the window (position of its frame, size of its client
// area) or of a control (within the client area, where it lies with the
// contents scrolled back to their start), in window units.
UnitRect GeometryOf(Window* w, std::int32_t control) {
  if (control == 0) {
    RECT frame, client;
    GetWindowRect(w->native->hwnd, &frame);
    GetClientRect(w->native->hwnd, &client);
    return w->units.ToUnits({frame.left, frame.top, client.right, client.bottom});
  }
  ControlObject* c = FindControl(w, control);
  if (!c || !c->hwnd) return {};
  RECT r;
  GetWindowRect(c->hwnd, &r);
  MapWindowPoints(nullptr, w->native->hwnd, reinterpret_cast<POINT*>(&r), 2);
  const POINT origin = ContentOrigin(w, c);
  return w->units.ToUnits(
      {r.left - origin.x, r.top - origin.y, r.right - r.left, r.bottom - r.top});
}

}  // namespace

void SetControlPosition(std::int32_t control, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height) {
  Window* w = Addressed();
  if (!w || !w->native) return;
  UnitRect now = GeometryOf(w, control);
  if (control != 0 && !FindControl(w, control)) return;
  // A control already where it is asked to be is left alone: moving it
  // costs the platform a round of window messages even when nothing moves.
  if (control != 0 && (x == kDefaultPosition || x == now.x) &&
      (y == kDefaultPosition || y == now.y) && (width == kDefaultPosition || width == now.width) &&
      (height == kDefaultPosition || height == now.height)) {
    return;
  }
  const PhaseScope phase("control moved or sized");
  if (x != kDefaultPosition) now.x = x;
  if (y != kDefaultPosition) now.y = y;
  if (width != kDefaultPosition) now.width = width;
  if (height != kDefaultPosition) now.height = height;
  const UnitRect px = w->units.ToPixels(now);
  if (control == 0) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(w->native->hwnd, GWL_STYLE));
    // The size is that of the client area, inside the scroll bars.
    RECT frame = {0, 0, px.width, px.height};
    if (style & WS_VSCROLL) frame.right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) frame.bottom += GetSystemMetrics(SM_CYHSCROLL);
    AdjustWindowRectEx(&frame, style, GetMenu(w->native->hwnd) != nullptr, 0);
    SetWindowPos(w->native->hwnd, nullptr, px.x, px.y, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    HWND hwnd = FindControl(w, control)->hwnd;
    const POINT origin = ContentOrigin(w, FindControl(w, control));
    POINT at = {px.x + origin.x, px.y + origin.y};
    MapWindowPoints(w->native->hwnd, GetParent(hwnd), &at, 1);
    MoveWindow(hwnd, at.x, at.y, px.width, px.height, TRUE);
    // A spin box's arrows follow its field.
    if (HWND arrows = FindControl(w, control)->arrows) {
      SendMessageA(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd), 0);
    }
  }
}

ImageAssigned AssignImage(std::int32_t control, std::string_view name) {
  Window* w = Addressed();
  ControlObject* c = FindControl(w, control);
  if (!c || !c->image) return {};
  c->image->Assign(name);
  const UnitRect size = GeometryOf(w, control);
  return {c->image->image() != nullptr, size.width, size.height};
}

void PaintWindowNow() {
  const PhaseScope phase("paint window now");
  Window* w = Addressed();
  if (w && w->native) UpdateWindow(w->native->hwnd);
}

void SelectControl(std::int32_t control, std::int32_t item) {
  Window* w = Addressed();
  ControlObject* c = FindControl(w, control);
  if (!c || !c->hwnd) return;
  if (c->plan.type == ControlType::Sheet && item > 0) {
    const int current = static_cast<int>(SendMessageA(c->hwnd, TCM_GETCURSEL, 0, 0));
    const int count = static_cast<int>(SendMessageA(c->hwnd, TCM_GETITEMCOUNT, 0, 0));
    if (item - 1 != current && item <= count &&
        ProcessNow(w, MakeEvent(w, kEventTabChanging, control)) != kPassSkip) {
      SendMessageA(c->hwnd, TCM_SETCURSEL, static_cast<WPARAM>(item - 1), 0);
      ShowTabPages(w, c);
      QueueEvent(w, kEventNewSelection, control);
    }
  }
  if (c->list && item > 0) c->list->Select(item);
  SetFocus(c->hwnd);
  w->focus = control;
}

std::int32_t CurrentChoice(std::int32_t control) {
  ControlObject* c = FindControl(Addressed(), control);
  if (c && c->list) return c->list->Choice();
  if (!c || !c->hwnd || c->plan.type != ControlType::Sheet) return 0;
  return static_cast<std::int32_t>(SendMessageA(c->hwnd, TCM_GETCURSEL, 0, 0)) + 1;
}

namespace {

std::string Flag(bool on) { return on ? "1" : ""; }

bool HasStyle(HWND hwnd, LONG_PTR bits) {
  return hwnd && (GetWindowLongPtrA(hwnd, GWL_STYLE) & bits) == bits;
}

// A placement switched on or off; switching off the current one leaves
// the image stretched.
ImageLoadFlags Placement(ImageLoadFlags now, ImageLoadFlags mode, bool on) {
  if (on) return mode;
  return now == mode ? kPlaceStretched : now;
}

// What a property statement addresses: the window (control 0) or one of
// its controls, with the parts that some properties use.
struct PropertyTarget {
  Window* w;
  ControlObject* c;  // null for the window
  HWND hwnd;
  ImageControl* image;   // an image control's
  Wallpaper* wallpaper;  // the window's
};

std::optional<PropertyTarget> Resolve(std::int32_t control) {
  Window* w = Addressed();
  if (!w || !w->native) return std::nullopt;
  ControlObject* c = FindControl(w, control);
  if (control != 0 && !c) return std::nullopt;
  return PropertyTarget{w, c, control == 0 ? w->native->hwnd : c->hwnd,
                        c ? c->image.get() : nullptr,
                        control == 0 ? w->native->wallpaper.get() : nullptr};
}

}  // namespace

std::string GetProperty(std::int32_t control, std::uint32_t property, std::int32_t index) {
  const auto target = Resolve(control);
  if (!target) return {};
  const auto [w, c, hwnd, image, wallpaper] = *target;
  if (IsMenuEntry(c)) return GetMenuProperty(c, property);
  switch (property) {
    case PROP::Text: {
      if (c && c->bound) return UseText(c->use);
      char text[1024] = {};
      if (hwnd) GetWindowTextA(hwnd, text, sizeof text);
      return text;
    }
    case PROP::Xpos: return std::to_string(GeometryOf(w, control).x);
    case PROP::Ypos: return std::to_string(GeometryOf(w, control).y);
    case PROP::Width: return std::to_string(GeometryOf(w, control).width);
    case PROP::Height: return std::to_string(GeometryOf(w, control).height);
    case PROP::Pixels: return Flag(control == 0 && w->units.pixels);
    case PROP::Maximize: return Flag(control == 0 && IsZoomed(w->native->hwnd));
    case PROP::Visible: return Flag(hwnd && IsWindowVisible(hwnd));
    case PROP::Enabled: return Flag(hwnd && IsWindowEnabled(hwnd));
    case PROP::StatusText:
      if (index >= 1 && static_cast<std::size_t>(index) <= w->zoneTexts.size()) {
        return w->zoneTexts[static_cast<std::size_t>(index - 1)];
      }
      return {};
    case PROP::Background: return std::to_string(c ? c->background : w->plan.background);
    case PROP::FontColor: return c ? std::to_string(c->textColour) : std::string();
    case PROP::Fill: return c ? std::to_string(c->fill) : std::string();
    case PROP::HScroll: return Flag(HasStyle(hwnd, WS_HSCROLL));
    case PROP::VScroll: return Flag(HasStyle(hwnd, WS_VSCROLL));
    case PROP::HScrollPos: return control == 0 ? std::to_string(w->native->scrollPosition[0]) : "";
    case PROP::VScrollPos: return control == 0 ? std::to_string(w->native->scrollPosition[1]) : "";
    case PROP::Stretch:
      if (image) return Flag(image->stretched());
      return Flag(wallpaper && wallpaper->stretched());
    case PROP::Tiled:
      if (image) return Flag(image->placement() == kPlaceTiled);
      return Flag(wallpaper && wallpaper->tiled());
    case PROP::Centered: return Flag(image && image->placement() == kPlaceCentred);
    case PROP::Wallpaper: return wallpaper ? wallpaper->name() : std::string();
    default: return {};
  }
}

void SetProperty(std::int32_t control, std::uint32_t property, std::string_view value,
                 std::int32_t index) {
  const auto target = Resolve(control);
  if (!target) return;
  const auto [w, c, hwnd, image, wallpaper] = *target;
  if (IsMenuEntry(c)) {
    SetMenuProperty(c, property, value);
    return;
  }
  const std::string text(value);
  const long number = std::strtol(text.c_str(), nullptr, 10);
  const bool on = number != 0;
  switch (property) {
    case PROP::Text:
      if (c && c->bound) SetUseText(c->use, text);
      if (image) {
        image->Assign(text);
      } else if (hwnd) {
        SetWindowTextA(hwnd, text.c_str());
      }
      break;
    case PROP::Xpos: SetControlPosition(control, number); break;
    case PROP::Ypos: SetControlPosition(control, kDefaultPosition, number); break;
    case PROP::Width:
      SetControlPosition(control, kDefaultPosition, kDefaultPosition, number);
      break;
    case PROP::Height:
      SetControlPosition(control, kDefaultPosition, kDefaultPosition, kDefaultPosition, number);
      break;
    case PROP::Pixels:
      if (control == 0) w->units.pixels = on;
      break;
    case PROP::Maximize:
      if (control == 0) ShowWindow(hwnd, on ? SW_MAXIMIZE : SW_RESTORE);
      break;
    case PROP::Visible:
      if (hwnd) ShowWindow(hwnd, on ? SW_SHOW : SW_HIDE);
      break;
    case PROP::Enabled:
      if (hwnd) EnableWindow(hwnd, on ? TRUE : FALSE);
      break;
    case PROP::StatusText:
      PhaseMarkNumber("status zone", index);
      if (index >= 1 && static_cast<std::size_t>(index) <= w->zoneTexts.size()) {
        std::string& zone = w->zoneTexts[static_cast<std::size_t>(index - 1)];
        zone = text;
        if (w->native->statusBar) {
          SendMessageA(w->native->statusBar, SB_SETTEXTA, static_cast<WPARAM>(index - 1),
                       reinterpret_cast<LPARAM>(zone.c_str()));
        }
      }
      break;
    case PROP::Background:
      if (!c) {
        SetBackgroundColour(w, static_cast<std::int32_t>(number));
      } else {
        c->background = static_cast<std::int32_t>(number);
        c->brush = GdiObject();
        if (image) image->SetBackground(c->background);
        RepaintWithChildren(hwnd);
      }
      break;
    case PROP::FontColor:
      if (c) {
        c->textColour = static_cast<std::int32_t>(number);
        RepaintWithChildren(hwnd);
      }
      break;
    case PROP::Fill:
      if (c) {
        c->fill = static_cast<std::int32_t>(number);
        RepaintWithChildren(hwnd);
      }
      break;
    case PROP::HScroll:
    case PROP::VScroll: {
      const PhaseScope phase("scroll bar shown or hidden");
      const int bar = property == PROP::HScroll ? SB_HORZ : SB_VERT;
      if (control == 0) {
        SetWindowScrollBar(w, bar, on);
      } else if (hwnd) {
        ShowScrollBar(hwnd, bar, on ? TRUE : FALSE);
      }
      break;
    }
    case PROP::HScrollPos:
    case PROP::VScrollPos:
      if (control == 0) {
        const PhaseScope phase("scroll position");
        SetWindowScrollPosition(w, property == PROP::HScrollPos ? SB_HORZ : SB_VERT,
                                static_cast<int>(number));
      }
      break;
    case PROP::ImageBlob:
      if (image) image->CopyToClipboard(w->native->hwnd);
      break;
    case PROP::Stretch:
      if (image) image->SetStretched(on);
      if (wallpaper) wallpaper->SetStretched(on);
      break;
    case PROP::Tiled:
      if (image) image->SetPlacement(Placement(image->placement(), kPlaceTiled, on));
      if (wallpaper) wallpaper->SetTiled(on);
      break;
    case PROP::Centered:
      if (image) image->SetPlacement(Placement(image->placement(), kPlaceCentred, on));
      break;
    case PROP::Wallpaper:
      if (wallpaper) wallpaper->Assign(text);
      break;
    default: break;
  }
}

void SetProperty(std::int32_t control, std::uint32_t property, std::int64_t value,
                 std::int32_t index) {
  SetProperty(control, property, std::to_string(value), index);
}

std::string DropText(std::int32_t* sourceThread, std::int32_t* sourceControl) {
  Window* w = Addressed();
  if (!w) return {};
  if (sourceThread) *sourceThread = w->thread;
  if (sourceControl) *sourceControl = w->dropControl;
  return w->dropText;
}

std::uintptr_t NativeHandle(const Window& window, std::int32_t control) {
  if (!window.native) return 0;
  if (control == 0) return reinterpret_cast<std::uintptr_t>(window.native->hwnd);
  if (control == -1) return reinterpret_cast<std::uintptr_t>(window.native->statusBar);
  ControlObject* c = FindControl(const_cast<Window*>(&window), control);
  return c ? reinterpret_cast<std::uintptr_t>(c->hwnd) : 0;
}

}  // namespace lumbra

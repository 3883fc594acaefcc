// What the window runtime's Win32 files share: the native side of windows
// and controls, the thread table, and the making of events.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/gdi_tally_win32.h"
#include "display/window_palette_win32.h"
#include "winrt/image_control_win32.h"
#include "winrt/key_codes.h"
#include "winrt/list_control_win32.h"
#include "winrt/wallpaper_win32.h"
#include "winrt/window.h"

namespace lumbra {

// A GDI object owned by one holder, counted in the tally while it lives.
struct GdiObject {
  HGDIOBJ handle = nullptr;
  GdiObject() = default;
  explicit GdiObject(HGDIOBJ h) : handle(gdi_tally::Made(h)) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject& operator=(GdiObject&& other) noexcept {
    std::swap(handle, other.handle);
    return *this;
  }
  ~GdiObject() { gdi_tally::Delete(handle); }
};

// A native control of a window.
struct ControlObject {
  ControlPlan plan;
  HWND hwnd = nullptr;
  WNDPROC baseProc = nullptr;
  Window* window = nullptr;
  UseVariable use;
  bool bound = false;
  std::int32_t tabIndex = -1;  // a tab: its position in its sheet
  HWND page = nullptr;         // a tab: the page window holding its controls
  HWND arrows = nullptr;       // a spin box: its up-down arrows
  std::int32_t textColour = -1;
  std::int32_t background = -1;
  std::int32_t fill = -1;  // a box: its fill colour
  GdiObject font;          // a font of its own, when it differs from the window's
  GdiObject brush;         // the brush of its background colour
  std::unique_ptr<ImageControl> image;
  std::unique_ptr<ListControl> list;
  // A menu or menu item: the native menu holding it, a menu's own
  // sub-menu, its native item flags, and whether it is hidden (taken out
  // of its menu until it is shown again).
  HMENU menu = nullptr;
  HMENU subMenu = nullptr;
  UINT menuFlags = 0;
  bool hidden = false;
};

struct ToolBarParts;

struct NativeWindowParts {
  HWND hwnd = nullptr;
  HWND statusBar = nullptr;
  GdiObject font;
  GdiObject background;  // brush of the window's background colour
  std::string className;
  std::vector<std::unique_ptr<ControlObject>> controls;
  std::unique_ptr<Wallpaper> wallpaper;
  std::unique_ptr<WindowPalette> palette;  // on palette displays only
  // The window's scroll positions (0..255) and the pixel offsets of the
  // controls that follow from them.
  int scrollPosition[2] = {0, 0};
  int scrollOffset[2] = {0, 0};
  // The tool bar's background and button pictures (none without a bar).
  std::shared_ptr<ToolBarParts> toolBar;
  // While the window is shown for the first time.
  bool firstShow = false;

  ~NativeWindowParts();
};

namespace internal {

constexpr int kThreadSlots = 64;
constexpr UINT_PTR kWindowTimer = 1;
constexpr const char* kModuleTag = "WSLDIAL";

struct ThreadSlot {
  DWORD threadId = 0;
  Window* active = nullptr;
  Window* target = nullptr;
  Window* lastProcessed = nullptr;
  std::uint32_t keyCode = 0;
  std::uint8_t keyChar = 0, keyState = 0;
  std::int32_t mouseX = 0, mouseY = 0;
};

// The thread table.
ThreadSlot& Slot(std::int32_t n);
std::int32_t ClaimSlot();
ThreadSlot* MySlot();
Window* WindowAt(std::int32_t thread);
// The window the statements address: the target when set, else the active.
Window* Addressed();
ControlObject* FindControl(Window* w, std::int32_t number);

// Events.
EventRecord MakeEvent(Window* w, std::uint32_t code, std::int32_t control);
void QueueEvent(Window* w, std::uint32_t code, std::int32_t control = 0);
// Runs the loop body for an event at once; returns the pass result.
int ProcessNow(Window* w, const EventRecord& e);
// Key, mouse and drop input of the window (control 0) or a control; true
// when the message is consumed.
bool HandleInput(Window* w, std::int32_t control, UINT msg, WPARAM wp, LPARAM lp);
KeyModifiers CurrentModifiers();
bool IsAlerted(Window* w, std::uint32_t code);
// Whether the window waits for a window opened from it (it is disabled
// meanwhile and takes no input).
bool Waiting(const Window* w);
void TakeDrop(Window* w, std::int32_t control, HDROP drop);
LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The keyboard of a dialog, looked at by the loop before a key is
// dispatched: true when the key has done its work there.
bool DialogKey(const MSG& msg);
// Gives the focus to the window's first control in the tab order, unless
// one of its controls has it already.
void FocusFirstControl(Window* w);
// Gives the focus back to the control that last had it; false when none
// can take it.
bool RestoreFocus(Window* w);
// Marks the button that Enter presses: the focused button, else the
// default one.
void ShowDefaultButton(ControlObject* focused);

// Controls.
void RegisterControlClasses();
void CreateControls(Window* w);
// Puts the controls in their painting order (z-order).
void StackControls(Window* w);
void ApplyFont(Window* w, HWND hwnd);
UnitScale MeasureUnits(Window* w, HWND hwnd);
void ShowTabPages(Window* w, ControlObject* sheet);
void Redisplay(ControlObject* c);
bool ReadBack(ControlObject* c);
void SelectRadio(ControlObject* radio);
void ControlPressed(ControlObject* c);
bool TakeTypedEntry(ControlObject* c);
// The range a spin box keeps its value in: its own, within what its
// variable holds.
std::pair<long, long> SpinRange(const ControlObject* c);
std::string UseText(const UseVariable& use);
void SetUseText(const UseVariable& use, std::string_view text);
bool AcceptsFiles(const std::vector<std::string>& targets);
void LayoutStatusBar(Window* w);
// Colours and painting of controls that the window answers for.
std::optional<LRESULT> ControlColours(Window* w, HWND control, HDC dc);

// The window's palette: made at opening, realised on the palette messages.
void CreateWindowPalette(Window* w);
std::optional<LRESULT> PaletteMessage(Window* w, UINT msg, WPARAM wp, LPARAM lp);

// A window without a position of its own is centred on the window it is
// opened from.
void PlaceOnOwner(HWND window, HWND owner);

// The window's background: colour, wallpaper and scrolling.
void PaintBackdrop(Window* w, HWND child, HDC dc);
void SetBackgroundColour(Window* w, std::int32_t colour);
void SetWindowScrollBar(Window* w, int bar, bool on);
void SetWindowScrollPosition(Window* w, int bar, int position);
void ScrollWindowBy(Window* w, int bar, WORD request);

}  // namespace internal
}  // namespace lumbra

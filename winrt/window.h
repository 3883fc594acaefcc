// Windows of the runtime and the statements the program's procedures use:
// a procedure builds a window object, opens it, runs its ACCEPT loop and
// closes it; it never sees a native message.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "winrt/units.h"
#include "winrt/window_description.h"

namespace lumbra {

// Control types are the record type codes of the window descriptions.
using ControlType = RecordType;

// Position or size left to the system: the descriptions' default value.
constexpr std::int32_t kDefaultPosition = kDefaultValue;

// A program variable bound to a control ("use" variable).
struct UseVariable {
  void* address = nullptr;
  std::uint8_t type = 0;  // 0x01 byte, 0x02 short, 0x06 long, 0x12 string
  std::uint16_t size = 0;
};

// One control as the window is built with it.
struct ControlPlan {
  ControlType type = ControlType::Prompt;
  std::int32_t number = 0;
  UnitRect rect;
  std::string
      text;  // caption, prompt text, image file name, list format, or a tool bar's background
  std::int32_t parent = 0;  // the tab or option holding it, 0 for the window
  bool hasUse = false;      // binds the next variable of the window's list
  std::uint8_t useType = 0;
  std::uint16_t useSize = 0;
  std::int32_t flags = 0;      // scroll bars (0x1, 0x2), alignment, transparent (0x1000)
  bool displayOnly = false;    // entries
  bool isDefault = false;      // buttons
  std::uint8_t placement = 0;  // images: stretched 0, centred 1, tiled 2; a tool bar's background
  std::string icon;            // buttons: the picture they show
  std::string tip;             // the tooltip text (empty: none)
  std::int32_t hotKey = 0;     // the key that presses or selects it (27: Esc), 0 for none
  std::string fontFace;        // empty: the window's font
  std::int32_t fontSize = 0;
  std::int32_t fontWeight = -1;
  std::int32_t textColour = -1;  // -1: the system's colour
  std::int32_t background = -1;
  std::int32_t frameColour = -1;  // boxes
  std::int32_t fillColour = -1;
  std::int32_t lineWidth = 0;      // boxes: the frame's width in window units (converted like x)
  std::int32_t selectedText = -1;  // lists: the selection bar's colours
  std::int32_t selectedBackground = -1;
  std::int32_t gridColour = -1;           // lists: their lines (-1: grey)
  double lower = 0, upper = 0, step = 1;  // spin boxes
  std::string value;                      // radios: the value they give their option
  std::vector<std::string> dropTargets;
  std::vector<std::int32_t> alertKeys;
};

// One menu or menu item of a window's menu bar.
struct MenuPlan {
  ControlType type = ControlType::MenuItem;  // Menu or MenuItem
  std::int32_t number = 0;                   // 0 for separators
  std::int32_t parent = 0;                   // the menu holding it, 0 for the bar
  std::string text;
  std::int32_t flags = 0;  // check item 0x01, right-justified 0x08, separator 0x10, disabled 0x40
  bool hasUse = false;     // a check item: binds the next of the window's menu variables
};

// A window as built from its description, before it is opened.
struct WindowPlan {
  std::string name;
  std::string title;
  UnitRect rect{kDefaultPosition, kDefaultPosition, kDefaultPosition, kDefaultPosition};
  bool pixelUnits = false;
  std::int32_t flags = 0;                           // 0x1 horizontal, 0x2 vertical scroll bar
  std::int32_t frameFlags = 0x1000 | 0x800 | 0x20;  // system menu, maximise box, resizable
  std::int32_t timer = 0;                           // hundredths of a second
  std::string icon;                                 // the window's icon (a minimise box with it)
  std::string fontFace = "MS Sans Serif";
  std::int32_t fontSize = 8;
  std::int32_t background = -1;
  std::vector<std::int32_t> statusZones;  // widths in units, -1 = the rest
  std::vector<std::int32_t> alertKeys;
  std::vector<std::string> dropTargets;
  bool wallpaperTiled = false;
  std::string wallpaper;
  std::vector<MenuPlan> menus;        // the menu bar, in record order (none: no menu bar)
  std::vector<ControlPlan> controls;  // in record order, the tool bar and its contents first
};

// The record of one event.
struct EventRecord {
  struct Window* window = nullptr;
  std::uint32_t code = 0;
  std::int32_t thread = 0;
  std::int32_t control = 0;
  std::int32_t focus = 0;
  std::uint32_t keyCode = 0;
  std::uint8_t keyChar = 0, keyState = 0;
  std::int32_t mouseX = 0, mouseY = 0;
};

struct NativeWindowParts;
struct ControlObject;

// A window object: filled from a description, opened as a native window,
// closed, and opened again if wanted.
struct Window {
  Window();
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  WindowPlan plan;
  std::vector<UseVariable> uses;      // the controls' variables, in record order
  std::vector<UseVariable> menuUses;  // the menu items' variables, taken first
  std::unique_ptr<NativeWindowParts> native;
  std::int32_t thread = 0;
  std::uint32_t serial = 0;
  UnitScale units;
  std::deque<EventRecord> pending;
  std::vector<EventRecord> current;  // the events being processed, innermost last
  std::int32_t focus = 0;
  std::int32_t accepted = 0;
  std::int32_t state = 0;  // 0 open, 1 waiting for another window, 2 closing
  bool timerPending = false;
  bool suspended = false;
  int loops = 0;
  bool loopEnded = false;
  std::set<std::uint32_t> alertedKeys;
  std::vector<std::string> zoneTexts;
  std::string dropText;
  std::int32_t dropControl = 0;
  Window* previousActive = nullptr;
  Window* frame = nullptr;  // the window this one was opened from (closes first)
  const std::function<int()>* body = nullptr;
};

// Window objects and the loop.
bool CreateWindowFromDescription(Window& window, std::string_view moduleTag,
                                 std::string_view windowName, std::vector<UseVariable> uses);
void CreateWindowFromPlan(Window& window, WindowPlan plan, std::vector<UseVariable> uses = {});
// Opens the window; with shown false it stays hidden until ShowOpenedWindow,
// so that a program can size and fill it before it first reaches the
// screen (the platform then places and paints it once).
void OpenWindowObject(Window& window, bool shown = true);
void ShowOpenedWindow(Window& window);
void CloseWindowObject(Window& window);
void DisposeWindowObject(Window& window);
bool WindowIsOpen(const Window& window);

// While a system-modal dialog is up, the other threads open no windows
// (error 542) and start no loops (error 540). The dialog's thread enters
// and leaves the modal state around it; the calls nest.
void EnterSystemModal();
void LeaveSystemModal();
// Whether another thread holds the system modal.
bool SystemIsModal();

// The ACCEPT loop: runs the body once per event; the body returns the pass
// result (0 go on, 1 skip the event's default action, -1 leave the loop).
// Without an active window: error 537.
void Accept(const std::function<int()>& body);
constexpr int kPassNormal = 0;
constexpr int kPassSkip = 1;
constexpr int kPassLeave = -1;

// Queries of the current event and window.
std::int32_t EVENT();
std::int32_t FIELD();
std::int32_t ACCEPTED();
std::int32_t FOCUS();
std::int32_t FIRSTFIELD();
std::int32_t LASTFIELD();
std::uint32_t CurrentKeyCode();

// The thread slot of the calling thread (1..64), and the active window of
// a slot.
std::int32_t CurrentThread();
Window* ActiveWindow(std::int32_t thread = 0);
// Directs the statements to another window (null: back to the active one).
void SetTarget(Window* window);

void PostEvent(std::int32_t event, std::int32_t control = 0, std::int32_t thread = 0);
void AlertKeys(std::uint32_t first = 0, std::uint32_t last = 0);

void RedisplayControls(std::int32_t first = 0, std::int32_t last = 0);
void HideControls(std::int32_t first, std::int32_t last = 0);
void ShowControls(std::int32_t first, std::int32_t last = 0);
void EnableControls(std::int32_t first, std::int32_t last = 0);
void DisableControls(std::int32_t first, std::int32_t last = 0);
void SetControlPosition(std::int32_t control, std::int32_t x = kDefaultPosition,
                        std::int32_t y = kDefaultPosition, std::int32_t width = kDefaultPosition,
                        std::int32_t height = kDefaultPosition);
void SelectControl(std::int32_t control, std::int32_t item = 0);
std::int32_t CurrentChoice(std::int32_t control);

// Property codes.
namespace PROP {
constexpr std::uint32_t Text = 0x7C00;
constexpr std::uint32_t Xpos = 0x7C02;
constexpr std::uint32_t Ypos = 0x7C03;
constexpr std::uint32_t Width = 0x7C04;
constexpr std::uint32_t Height = 0x7C05;
constexpr std::uint32_t Pixels = 0x7C1E;
constexpr std::uint32_t Maximize = 0x7C6F;
constexpr std::uint32_t Visible = 0x7CA7;
constexpr std::uint32_t Enabled = 0x7CA8;
constexpr std::uint32_t Background = 0x7CFA;
constexpr std::uint32_t StatusText = 0x7D01;
constexpr std::uint32_t FontColor = 0x7C12;
constexpr std::uint32_t Fill = 0x7C61;
constexpr std::uint32_t HScroll = 0x7C67;
constexpr std::uint32_t VScroll = 0x7C8B;
constexpr std::uint32_t HScrollPos = 0x7CBB;
constexpr std::uint32_t VScrollPos = 0x7C9E;
constexpr std::uint32_t ImageBlob = 0x7C9F;
constexpr std::uint32_t Stretch = 0x7CEC;
constexpr std::uint32_t Wallpaper = 0x7A15;
constexpr std::uint32_t Tiled = 0x7A16;
constexpr std::uint32_t Centered = 0x7A17;
// Menu items: the native item flags "starts a new column" (0x20),
// right-justified and separator, changed in place.
constexpr std::uint32_t MenuBreak = 0x7C42;
constexpr std::uint32_t RightJustify = 0x7C0C;
constexpr std::uint32_t Separator = 0x7C80;
}  // namespace PROP

// Properties as the runtime's generic values: texts that read as numbers
// where the property is numeric.
std::string GetProperty(std::int32_t control, std::uint32_t property, std::int32_t index = 0);
void SetProperty(std::int32_t control, std::uint32_t property, std::string_view value,
                 std::int32_t index = 0);
void SetProperty(std::int32_t control, std::uint32_t property, std::int64_t value,
                 std::int32_t index = 0);

// What an image control answers when it is given an image: whether the
// image loaded, and the control's size after it (the image's natural size
// when the control does not stretch), in the window's units.
struct ImageAssigned {
  bool loaded = false;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
// Gives an image control the named image: the one decoded ahead when the
// image supply holds it, else loaded now. The control's text becomes the
// name, or blank when nothing loaded. Nothing loads for a blank name.
ImageAssigned AssignImage(std::int32_t control, std::string_view name);

// Paints now what waits to be painted in the window, so that a notice
// shows before a long operation that follows.
void PaintWindowNow();

// The text of the last drop ("," between file names) and where it came from.
std::string DropText(std::int32_t* sourceThread = nullptr, std::int32_t* sourceControl = nullptr);

// The native handle of a window or control, for tests and painting.
std::uintptr_t NativeHandle(const Window& window, std::int32_t control = 0);

}  // namespace lumbra

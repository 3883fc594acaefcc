// Native controls of the runtime's windows: their classes, creation,
// bound variables, tabs, colours and the status bar.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "core/fixed_text.h"
#include "core/picture.h"
#include "display/clipboard.h"
#include "winrt/event_codes.h"
#include "winrt/menus_win32.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra::internal {

void ApplyFont(Window* w, HWND hwnd) {
  if (w->native->font.handle) {
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(w->native->font.handle), 0);
  }
}

// The base units of the window's font.
UnitScale MeasureUnits(Window* w, HWND hwnd) {
  UnitScale scale;
  scale.pixels = w->plan.pixelUnits;
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(
      dc, w->native->font.handle ? w->native->font.handle : GetStockObject(SYSTEM_FONT));
  TEXTMETRICA tm;
  SIZE size;
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  if (GetTextMetricsA(dc, &tm) && GetTextExtentPoint32A(dc, kLetters, 52, &size)) {
    scale.baseX = (size.cx / 26 + 1) / 2;
    scale.baseY = tm.tmHeight;
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  if (scale.baseX <= 0) scale.baseX = 4;
  if (scale.baseY <= 0) scale.baseY = 8;
  return scale;
}

// Shows the page of the sheet's selected tab and hides the others.
void ShowTabPages(Window* w, ControlObject* sheet) {
  const int selected = static_cast<int>(SendMessageA(sheet->hwnd, TCM_GETCURSEL, 0, 0));
  for (auto& tab : w->native->controls) {
    if (tab->plan.type != ControlType::Tab || tab->plan.parent != sheet->plan.number) continue;
    if (tab->page) ShowWindow(tab->page, tab->tabIndex == selected ? SW_SHOW : SW_HIDE);
  }
}

namespace {

constexpr const char* kTabPageClass = "WexTab";

Window* WindowOfChild(HWND hwnd) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  return top ? reinterpret_cast<Window*>(GetWindowLongPtrA(top, GWLP_USERDATA)) : nullptr;
}

// A tab's page: a child window over the sheet's display area that holds
// the tab's controls. What its controls tell it goes on to the window.
LRESULT CALLBACK TabPageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      if (HWND top = GetAncestor(hwnd, GA_ROOT)) return SendMessageA(top, msg, wp, lp);
      break;
    case WM_ERASEBKGND:
      if (Window* w = WindowOfChild(hwnd); w && w->native) {
        PaintBackdrop(w, hwnd, reinterpret_cast<HDC>(wp));
        return 1;
      }
      break;
    default: break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// The tab whose page holds a control (through the control's parents), or
// null.
ControlObject* TabOf(Window* w, const ControlPlan& plan) {
  std::int32_t parent = plan.parent;
  for (int depth = 0; parent != 0 && depth < 32; ++depth) {
    ControlObject* holder = FindControl(w, parent);
    if (!holder) return nullptr;
    if (holder->plan.type == ControlType::Tab) return holder;
    parent = holder->plan.parent;
  }
  return nullptr;
}

// Makes the page window of a tab over its sheet's display area.
void CreateTabPage(Window* w, ControlObject* tab, ControlObject* sheet) {
  RECT area;
  GetWindowRect(sheet->hwnd, &area);
  MapWindowPoints(nullptr, w->native->hwnd, reinterpret_cast<POINT*>(&area), 2);
  SendMessageA(sheet->hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  tab->page = CreateWindowExA(WS_EX_CONTROLPARENT, kTabPageClass, tab->plan.text.c_str(),
                              WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, area.left, area.top,
                              area.right - area.left, area.bottom - area.top, w->native->hwnd,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  // The page lies above its sheet.
  if (tab->page) {
    SetWindowPos(tab->page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

}  // namespace

// --- Controls ---

struct NativeClass {
  ControlType type;
  const char* wexClass;
  const char* baseClass;  // null: a class of the runtime's own
  DWORD style;
};

// The native class and style of each control type.
constexpr NativeClass kNativeClasses[] = {
    {ControlType::Button, "WexButton", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP},
    {ControlType::Check, "WexCheck", "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP},
    // Radios are checked by the runtime, one per option group (the system
    // would take every radio of the window for one group).
    {ControlType::Radio, "WexRadio", "BUTTON", BS_RADIOBUTTON},
    {ControlType::Option, "WexOption", "BUTTON", BS_GROUPBOX},
    {ControlType::Group, "WexGroup", "BUTTON", BS_GROUPBOX},
    {ControlType::Prompt, "WexPrompt", "STATIC", SS_LEFT},
    {ControlType::String, "WexString", "STATIC", SS_LEFT | SS_NOPREFIX},
    {ControlType::BoundString, "WexString", "STATIC", SS_LEFT | SS_NOPREFIX},
    {ControlType::Entry, "WexEdit", "EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {ControlType::Spin, "WexEdit", "EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {ControlType::Image, "WexRegion", "STATIC", SS_LEFT | SS_NOPREFIX},
    {ControlType::Region, "WexRegion", "STATIC", SS_LEFT | SS_NOPREFIX},
    {ControlType::Box, "WexRegion", "STATIC", SS_BLACKFRAME},
    {ControlType::Panel, "WexRegion", "STATIC", SS_ETCHEDFRAME},
    {ControlType::Sheet, "WexSheet", WC_TABCONTROLA, WS_TABSTOP | WS_CLIPSIBLINGS},
    {ControlType::List, kListClass, nullptr, WS_TABSTOP},
};

const NativeClass* NativeClassOf(ControlType type) {
  for (const auto& n : kNativeClasses) {
    if (n.type == type) return &n;
  }
  return nullptr;
}

// Registers the "Wex..." classes as copies of the system's classes, so
// that screen readers and other tools read them like the originals.
void RegisterControlClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&init);
    WNDCLASSEXA page = {};
    page.cbSize = sizeof page;
    page.lpfnWndProc = TabPageProc;
    page.hInstance = GetModuleHandleA(nullptr);
    page.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    page.lpszClassName = kTabPageClass;
    RegisterClassExA(&page);
    RegisterListClass();
    for (const auto& n : kNativeClasses) {
      WNDCLASSEXA base = {};
      base.cbSize = sizeof base;
      if (!n.baseClass || !GetClassInfoExA(nullptr, n.baseClass, &base)) continue;
      WNDCLASSEXA own = base;
      own.hInstance = GetModuleHandleA(nullptr);
      own.lpszClassName = n.wexClass;
      RegisterClassExA(&own);
    }
  });
}

std::string UseText(const UseVariable& use) {
  if (!use.address) return {};
  switch (use.type) {
    case 0x01: return std::to_string(*static_cast<const std::uint8_t*>(use.address));
    case 0x02: return std::to_string(*static_cast<const std::int16_t*>(use.address));
    case 0x06: return std::to_string(*static_cast<const std::int32_t*>(use.address));
    case 0x12:
      return std::string(
          ClipTrailingBlanks(std::string_view(static_cast<const char*>(use.address), use.size)));
    default: return {};
  }
}

void SetUseNumber(const UseVariable& use, long value) {
  switch (use.type) {
    case 0x01: *static_cast<std::uint8_t*>(use.address) = static_cast<std::uint8_t>(value); break;
    case 0x02: *static_cast<std::int16_t*>(use.address) = static_cast<std::int16_t>(value); break;
    case 0x06: *static_cast<std::int32_t*>(use.address) = static_cast<std::int32_t>(value); break;
    default: break;
  }
}

void SetUseText(const UseVariable& use, std::string_view text) {
  if (use.type != 0x12) {
    SetUseNumber(use, std::strtol(std::string(text).c_str(), nullptr, 10));
    return;
  }
  auto* chars = static_cast<char*>(use.address);
  const std::size_t n = std::min<std::size_t>(text.size(), use.size);
  std::memcpy(chars, text.data(), n);
  std::memset(chars + n, ' ', use.size - n);
}

namespace {

// Controls that show their variable's value through their display picture.
bool ShowsThroughPicture(ControlType type) {
  return type == ControlType::Entry || type == ControlType::Spin ||
         type == ControlType::BoundString;
}

// The picture of such a control, compiled; invalid when it has none.
Picture DisplayPicture(const ControlObject* c) {
  return ShowsThroughPicture(c->plan.type) ? CompilePicture(c->plan.text) : Picture{};
}

// What a control shows of its variable: the value through its picture,
// the picture's trailing blanks clipped; the value as it stands when the
// picture is missing or does not compile.
std::string ShownText(const ControlObject* c) {
  const std::string value = UseText(c->use);
  const Picture picture = DisplayPicture(c);
  if (picture.kind == PictureKind::Invalid) return value;
  const std::string shown = c->use.type == 0x12
                                ? FORMAT(value, picture)
                                : FORMAT(std::strtod(value.c_str(), nullptr), picture);
  return std::string(ClipTrailingBlanks(shown));
}

}  // namespace

// Writes the bound variable into the control.
void Redisplay(ControlObject* c) {
  if (IsMenuEntry(c)) {
    RedisplayMenuItem(c);
    return;
  }
  if (c->list) {
    c->list->Refresh();
    return;
  }
  if (!c->bound || !c->hwnd) return;
  if (c->plan.type == ControlType::Check) {
    const bool on = UseText(c->use) != "0";
    SendMessageA(c->hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (c->plan.type == ControlType::Option) {
    const std::string value = UseText(c->use);
    for (auto& r : c->window->native->controls) {
      if (r->plan.type == ControlType::Radio && r->plan.parent == c->plan.number && r->hwnd) {
        SendMessageA(r->hwnd, BM_SETCHECK, r->plan.value == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
    }
  } else {
    SetWindowTextA(c->hwnd, ShownText(c).c_str());
  }
}

std::pair<long, long> SpinRange(const ControlObject* c) {
  long low = -2147483647L - 1, high = 2147483647L;
  if (c->bound && c->use.type == 0x01) low = 0, high = 255;
  if (c->bound && c->use.type == 0x02) low = -32768, high = 32767;
  auto clamp = [&](double v) {
    return static_cast<long>(std::clamp(v, static_cast<double>(low), static_cast<double>(high)));
  };
  const long lower = clamp(c->plan.lower);
  return {lower, std::max(lower, clamp(c->plan.upper))};
}

namespace {

// The number a spin box's text holds, when it holds one within the range.
std::optional<long> SpinEntry(const ControlObject* c) {
  char text[64] = {};
  if (GetWindowTextLengthA(c->hwnd) >= static_cast<int>(sizeof text)) return std::nullopt;
  GetWindowTextA(c->hwnd, text, sizeof text);
  const char* start = text;
  while (*start == ' ') ++start;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(start, &end, 10);
  while (end && *end == ' ') ++end;
  const auto [low, high] = SpinRange(c);
  if (end == start || *end != '\0' || errno == ERANGE || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

// Reads the control's value back into its variable. A spin box takes only
// a number within its range; any other entry is refused (false) and the
// box shows its variable's value again.
bool ReadBack(ControlObject* c) {
  if (c->plan.type == ControlType::Radio) {
    ControlObject* option = FindControl(c->window, c->plan.parent);
    if (option && option->bound) SetUseText(option->use, c->plan.value);
    return true;
  }
  if (!c->bound) return true;
  if (c->plan.type == ControlType::Check) {
    SetUseNumber(c->use, SendMessageA(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
  } else if (c->plan.type == ControlType::Spin) {
    const std::optional<long> value = SpinEntry(c);
    if (value) SetUseNumber(c->use, *value);
    const std::string shown = ShownText(c);
    char text[64] = {};
    GetWindowTextA(c->hwnd, text, sizeof text);
    if (shown != text) SetWindowTextA(c->hwnd, shown.c_str());
    return value.has_value();
  } else if (c->plan.type == ControlType::Entry && !c->plan.displayOnly) {
    // A number typed through a picture is read back through it.
    char text[1024] = {};
    GetWindowTextA(c->hwnd, text, sizeof text);
    const Picture picture = DisplayPicture(c);
    if (c->use.type != 0x12 && picture.kind != PictureKind::Invalid) {
      SetUseNumber(c->use, static_cast<long>(DEFORMAT(text, picture)));
    } else {
      SetUseText(c->use, text);
    }
  }
  return true;
}

// Checks a radio and clears the other radios of its option group.
void SelectRadio(ControlObject* radio) {
  for (auto& r : radio->window->native->controls) {
    if (r->plan.type == ControlType::Radio && r->plan.parent == radio->plan.parent && r->hwnd) {
      SendMessageA(r->hwnd, BM_SETCHECK, r.get() == radio ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

// A button, check box or radio pressed, by the mouse or the keyboard: a
// radio becomes its group's choice, the value goes to the variable, and
// the loop hears "EVENT:Accepted".
void ControlPressed(ControlObject* c) {
  if (c->plan.type == ControlType::Radio) SelectRadio(c);
  ReadBack(c);
  c->window->accepted = c->plan.number;
  QueueEvent(c->window, kEventAccepted, c->plan.number);
}

// What the user typed into an entry or spin box counts once the field is
// left (or Enter is pressed in it): accepted, or refused with a beep and
// "EVENT:Rejected". False when refused.
bool TakeTypedEntry(ControlObject* c) {
  if (!c || !c->hwnd || (c->plan.type != ControlType::Entry && c->plan.type != ControlType::Spin)) {
    return true;
  }
  if (!SendMessageA(c->hwnd, EM_GETMODIFY, 0, 0)) return true;
  SendMessageA(c->hwnd, EM_SETMODIFY, FALSE, 0);
  if (!ReadBack(c)) {
    MessageBeep(MB_OK);
    QueueEvent(c->window, kEventRejected, c->plan.number);
    return false;
  }
  c->window->accepted = c->plan.number;
  QueueEvent(c->window, kEventAccepted, c->plan.number);
  return true;
}

bool AcceptsFiles(const std::vector<std::string>& targets) {
  return std::find(targets.begin(), targets.end(), "~FILE") != targets.end();
}

namespace {

// A box: filled with its fill colour, or showing what lies behind it
// without one, and framed with its frame colour in its line width.
void PaintBox(ControlObject* c, HDC dc) {
  RECT r;
  GetClientRect(c->hwnd, &r);
  if (c->fill >= 0) {
    GdiObject fill(CreateSolidBrush(static_cast<COLORREF>(c->fill)));
    FillRect(dc, &r, static_cast<HBRUSH>(fill.handle));
  } else {
    PaintBackdrop(c->window, c->hwnd, dc);
  }
  const COLORREF frame = c->plan.frameColour >= 0 ? static_cast<COLORREF>(c->plan.frameColour) : 0;
  GdiObject brush(CreateSolidBrush(frame));
  const int width = std::max(1, c->window->units.XToPixels(c->plan.lineWidth));
  for (int ring = 0; ring < width && r.left < r.right && r.top < r.bottom; ++ring) {
    FrameRect(dc, &r, static_cast<HBRUSH>(brush.handle));
    InflateRect(&r, -1, -1);
  }
}

// A group or option without a caption flag is a borderless holder: it
// shows nothing of its own, only what lies behind it and what it holds.
constexpr std::int32_t kCaptioned = 0x200;
bool IsBorderlessHolder(const ControlPlan& plan) {
  return (plan.type == ControlType::Group || plan.type == ControlType::Option) &&
         !(plan.flags & kCaptioned);
}

// A control seen through: it shows what lies behind it and paints nothing
// of its own; `hit` is its answer to the mouse. Whether it took the message.
bool SeenThrough(ControlObject* c, HWND hwnd, UINT msg, WPARAM wp, LRESULT hit, LRESULT& result) {
  switch (msg) {
    case WM_NCHITTEST: result = hit; return true;
    case WM_ERASEBKGND:
      PaintBackdrop(c->window, hwnd, reinterpret_cast<HDC>(wp));
      result = 1;
      return true;
    case WM_PAINT:
      ValidateRect(hwnd, nullptr);
      result = 0;
      return true;
    default: return false;
  }
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* c = reinterpret_cast<ControlObject*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!c) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_DROPFILES) {
    TakeDrop(c->window, c->plan.number, reinterpret_cast<HDROP>(wp));
    return 0;
  }
  // A control that gains the focus is selected: the loop hears of it.
  if (msg == WM_SETFOCUS && c->window->focus != c->plan.number) {
    c->window->focus = c->plan.number;
    QueueEvent(c->window, kEventSelected, c->plan.number);
  }
  if (msg == WM_SETFOCUS) ShowDefaultButton(c);
  if (HandleInput(c->window, c->plan.number, msg, wp, lp)) return 0;
  LRESULT result = 0;
  if (c->image && c->image->HandleMessage(msg, wp, lp, result)) return result;
  if (msg == WM_CHAR && c->plan.type == ControlType::Entry &&
      HandleEntryClipboardKey(hwnd, static_cast<std::uint32_t>(wp))) {
    return 0;
  }
  if (c->list && c->list->HandleMessage(msg, wp, lp, result)) return result;
  switch (c->plan.type) {
    case ControlType::Box:
      if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        PaintBox(c, BeginPaint(hwnd, &ps));
        EndPaint(hwnd, &ps);
        return 0;
      }
      if (msg == WM_PRINTCLIENT) {
        PaintBox(c, reinterpret_cast<HDC>(wp));
        return 0;
      }
      if (msg == WM_ERASEBKGND) return 1;
      break;
    case ControlType::Group:
    case ControlType::Option:
      if (!IsBorderlessHolder(c->plan)) break;
      if (msg == WM_PRINTCLIENT) return 0;
      if (SeenThrough(c, hwnd, msg, wp, HTTRANSPARENT, result)) return result;
      break;
    case ControlType::Region:
      // A region is seen through: it shows what lies behind it, and takes
      // the mouse (and dropped files) where no other control lies above it.
      if (SeenThrough(c, hwnd, msg, wp, HTCLIENT, result)) return result;
      break;
    default: break;
  }
  return CallWindowProcA(c->baseProc, hwnd, msg, wp, lp);
}

// The up-down arrows beside a spin box's edit field, stepping through its
// range.
void CreateSpinArrows(ControlObject* c, HWND parent) {
  c->arrows = CreateWindowExA(
      0, UPDOWN_CLASSA, "",
      WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 0,
      0, 0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!c->arrows) return;
  SendMessageA(c->arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(c->hwnd), 0);
  const auto [low, high] = SpinRange(c);
  SendMessageA(c->arrows, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
  UDACCEL step = {0, static_cast<UINT>(std::max(1.0, c->plan.step))};
  SendMessageA(c->arrows, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
}

// A font for a control whose font differs from its window's.
HFONT ControlFont(Window* w, const ControlPlan& plan) {
  const bool sameFace = plan.fontFace.empty() || plan.fontFace == w->plan.fontFace;
  const bool sameSize = plan.fontSize <= 0 || plan.fontSize == w->plan.fontSize;
  const bool sameWeight = plan.fontWeight <= 0 || plan.fontWeight == 400;
  if (sameFace && sameSize && sameWeight) return nullptr;
  const std::int32_t size = plan.fontSize > 0 ? plan.fontSize : w->plan.fontSize;
  const std::string& face = plan.fontFace.empty() ? w->plan.fontFace : plan.fontFace;
  return CreateFontA(-MulDiv(size, 96, 72), 0, 0, 0,
                     plan.fontWeight > 0 ? plan.fontWeight : FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0,
                     DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
}

// Creates the native window of a control, inside its tab's page when it
// lies on a tab.
HWND CreateNativeControl(Window* w, const NativeClass& native, ControlObject* c) {
  const ControlPlan& plan = c->plan;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | native.style;
  const bool barButton = IsToolBarButton(w, plan);
  if (barButton) style = (style & ~BS_TYPEMASK) | BS_OWNERDRAW;
  const DWORD exStyle = plan.type == ControlType::List ? WS_EX_CLIENTEDGE : 0;
  if (plan.type == ControlType::Entry && plan.displayOnly) style |= ES_READONLY;
  if (plan.type == ControlType::Button && plan.isDefault) style |= BS_DEFPUSHBUTTON;
  if (plan.type == ControlType::Image || plan.type == ControlType::List) {
    if (plan.flags & 0x1) style |= WS_HSCROLL;
    if (plan.flags & 0x2) style |= WS_VSCROLL;
  }
  UnitRect px = w->units.ToPixels(plan.rect);
  const POINT start = ContentOrigin(w, c);
  px.x += start.x;
  px.y += start.y;
  HWND parent = w->native->hwnd;
  if (HWND bar = ToolBarHolding(w, plan)) {
    parent = bar;
  } else if (ControlObject* tab = TabOf(w, plan); tab && tab->page) {
    POINT origin = {0, 0};
    MapWindowPoints(tab->page, w->native->hwnd, &origin, 1);
    px.x -= origin.x;
    px.y -= origin.y;
    parent = tab->page;
  }
  // An image control's text is the name of the image it shows, set once
  // the image has loaded.
  // A picture button of the tool bar is named by its tip, for screen
  // readers.
  // A control that shows a variable gets its text when the variable is
  // displayed; its record's text is the picture.
  const char* text = plan.type == ControlType::Image || ShowsThroughPicture(plan.type) ? ""
                     : barButton && plan.text.empty() ? plan.tip.c_str()
                                                      : plan.text.c_str();
  HWND hwnd =
      CreateWindowExA(exStyle, native.wexClass, text, style, px.x, px.y, px.width, px.height,
                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.number)),
                      GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return nullptr;
  c->hwnd = hwnd;
  c->font = GdiObject(ControlFont(w, plan));
  if (c->font.handle) {
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c->font.handle), 0);
  } else {
    ApplyFont(w, hwnd);
  }
  c->textColour = plan.textColour;
  c->background = plan.background;
  c->fill = plan.fillColour;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
  c->baseProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
  if (AcceptsFiles(plan.dropTargets)) DragAcceptFiles(hwnd, TRUE);
  if (plan.type == ControlType::Spin) CreateSpinArrows(c, parent);
  if (barButton) AddToolBarPicture(w, c);
  RegisterTip(c);
  if (plan.type == ControlType::List) c->list = std::make_unique<ListControl>(c);
  if (plan.type == ControlType::Image) {
    c->image = std::make_unique<ImageControl>(
        hwnd, plan.placement, [w](HWND control, HDC dc) { PaintBackdrop(w, control, dc); },
        w->native->palette.get());
    c->image->SetBackground(plan.background);
    if (!plan.text.empty()) c->image->Assign(plan.text);
  }
  return hwnd;
}

}  // namespace

std::optional<LRESULT> ControlColours(Window* w, HWND control, HDC dc) {
  ControlObject* c = nullptr;
  for (auto& each : w->native->controls) {
    if (each->hwnd == control) c = each.get();
  }
  if (!c) return std::nullopt;
  if (c->textColour >= 0) SetTextColor(dc, static_cast<COLORREF>(c->textColour));
  if (c->background >= 0) {
    if (!c->brush.handle) {
      c->brush = GdiObject(CreateSolidBrush(static_cast<COLORREF>(c->background)));
    }
    SetBkColor(dc, static_cast<COLORREF>(c->background));
    return reinterpret_cast<LRESULT>(c->brush.handle);
  }
  // Fields the user types into keep the system's field colour.
  const bool editable = (c->plan.type == ControlType::Entry && !c->plan.displayOnly) ||
                        c->plan.type == ControlType::Spin;
  if (editable) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  // Everything else shows the window's background behind its text.
  PaintBackdrop(w, control, dc);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

namespace {

void Raise(HWND hwnd) {
  if (hwnd) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

// Stacks the controls in the order a description paints them: each above
// the ones before it in record order, so that what a group, an option, a
// box or a sheet holds lies above it. Regions lie behind everything: they
// show what lies behind them all and take what falls through them. The
// tool bar and the status bar stay above the contents.
void StackControls(Window* w) {
  for (auto& c : w->native->controls) {
    if (c->plan.type == ControlType::Region || c->plan.type == ControlType::ToolBar) continue;
    // A spin box's arrows lie just below its field.
    Raise(c->arrows);
    Raise(c->hwnd);
    Raise(c->page);
  }
  for (auto& c : w->native->controls) {
    if (c->plan.type == ControlType::ToolBar) Raise(c->hwnd);
    if (c->plan.type == ControlType::Region && c->hwnd) {
      SetWindowPos(c->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  Raise(w->native->statusBar);
}

void CreateControls(Window* w) {
  std::size_t nextUse = 0;
  std::map<std::int32_t, int> radiosOfOption;
  for (const ControlPlan& plan : w->plan.controls) {
    auto c = std::make_unique<ControlObject>();
    c->plan = plan;
    c->window = w;
    // A radio without a value of its own gives its group its number,
    // counting from 1.
    if (plan.type == ControlType::Radio) {
      const int ordinal = ++radiosOfOption[plan.parent];
      if (plan.value.empty()) c->plan.value = std::to_string(ordinal);
    }
    if (plan.hasUse) {
      if (nextUse >= w->uses.size()) {
        RuntimeErrorBox(501, kModuleTag);
        return;
      }
      c->use = w->uses[nextUse++];
      c->bound = c->use.address != nullptr;
    }
    for (std::int32_t key : plan.alertKeys) w->alertedKeys.insert(static_cast<std::uint32_t>(key));
    if (plan.type == ControlType::Tab) {
      ControlObject* sheet = FindControl(w, plan.parent);
      if (sheet && sheet->hwnd) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(plan.text.c_str());
        c->tabIndex = static_cast<std::int32_t>(SendMessageA(sheet->hwnd, TCM_GETITEMCOUNT, 0, 0));
        SendMessageA(sheet->hwnd, TCM_INSERTITEMA, static_cast<WPARAM>(c->tabIndex),
                     reinterpret_cast<LPARAM>(&item));
        CreateTabPage(w, c.get(), sheet);
      }
      w->native->controls.push_back(std::move(c));
      continue;
    }
    const NativeClass* native = NativeClassOf(plan.type);
    if (!native) {  // menus and tool bars come with their own code
      if (plan.type == ControlType::ToolBar) CreateToolBar(w, c.get());
      w->native->controls.push_back(std::move(c));
      continue;
    }
    CreateNativeControl(w, *native, c.get());
    w->native->controls.push_back(std::move(c));
  }
  StackControls(w);
  for (auto& c : w->native->controls) {
    if (c->plan.type == ControlType::Sheet && c->hwnd) ShowTabPages(w, c.get());
    Redisplay(c.get());
  }
}

// The status bar's zone edges for the current client width.
void LayoutStatusBar(Window* w) {
  HWND bar = w->native->statusBar;
  if (!bar) return;
  RECT client;
  GetClientRect(w->native->hwnd, &client);
  // Zone widths are the description's, in its dialog units, also after
  // the program has switched the window to pixels: the zones keep room for
  // their texts. A zone of width -1 takes what the fixed zones leave.
  UnitScale described = w->units;
  described.pixels = false;
  int fixed = 0;
  for (std::int32_t width : w->plan.statusZones) {
    if (width >= 0) fixed += described.XToPixels(width);
  }
  const int rest = std::max(0, static_cast<int>(client.right) - fixed);
  std::vector<int> edges;
  int right = 0;
  for (std::int32_t width : w->plan.statusZones) {
    right += width < 0 ? rest : described.XToPixels(width);
    edges.push_back(right);
  }
  if (!edges.empty()) edges.back() = -1;
  SendMessageA(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < edges.size(); ++i) {
    SendMessageA(bar, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(w->zoneTexts[i].c_str()));
  }
}

}  // namespace lumbra::internal

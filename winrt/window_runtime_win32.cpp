// Windows, controls and the event loop on Win32.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "core/error_state.h"
#include "core/fixed_text.h"
#include "winrt/event_codes.h"
#include "winrt/fault_report_win32.h"
#include "winrt/key_codes.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {

// A native control of a window.
struct ControlObject {
  ControlPlan plan;
  HWND hwnd = nullptr;
  WNDPROC baseProc = nullptr;
  Window* window = nullptr;
  UseVariable use;
  bool bound = false;
  std::int32_t tabIndex = -1;  // a tab: its position in its sheet
};

struct NativeWindow {
  HWND hwnd = nullptr;
  HWND statusBar = nullptr;
  HFONT font = nullptr;
  std::string className;
  std::vector<std::unique_ptr<ControlObject>> controls;

  ~NativeWindow() {
    if (hwnd) DestroyWindow(hwnd);
    if (font) DeleteObject(font);
    if (!className.empty()) UnregisterClassA(className.c_str(), GetModuleHandleA(nullptr));
  }
};

namespace {

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

std::mutex g_tableLock;
std::array<ThreadSlot, kThreadSlots + 1> g_threads;  // slot 0 unused
thread_local std::int32_t t_slot = 0;
std::atomic<std::uint32_t> g_serial{0};
Window* g_lastProcessedWindow = nullptr;
std::int32_t g_lastProcessedThread = 0;

ThreadSlot& Slot(std::int32_t n) { return g_threads[static_cast<std::size_t>(n)]; }

std::int32_t ClaimSlot() {
  if (t_slot) return t_slot;
  std::lock_guard lock(g_tableLock);
  for (std::int32_t n = 1; n <= kThreadSlots; ++n) {
    if (Slot(n).threadId == 0) {
      Slot(n) = ThreadSlot{};
      Slot(n).threadId = GetCurrentThreadId();
      t_slot = n;
      return n;
    }
  }
  return 0;
}

ThreadSlot* MySlot() {
  const std::int32_t n = ClaimSlot();
  return n ? &Slot(n) : nullptr;
}

// The window the statements address: the target when set, else the active.
Window* Addressed() {
  ThreadSlot* s = MySlot();
  if (!s) return nullptr;
  return s->target ? s->target : s->active;
}

ControlObject* FindControl(Window* w, std::int32_t number) {
  if (!w || !w->native || number == 0) return nullptr;
  for (auto& c : w->native->controls) {
    if (c->plan.number == number) return c.get();
  }
  return nullptr;
}

KeyModifiers CurrentModifiers() {
  KeyModifiers m;
  m.shift = GetKeyState(VK_SHIFT) < 0;
  m.ctrl = GetKeyState(VK_CONTROL) < 0;
  m.alt = GetKeyState(VK_MENU) < 0;
  m.capsLock = GetKeyState(VK_CAPITAL) & 1;
  m.numLock = GetKeyState(VK_NUMLOCK) & 1;
  m.scrollLock = GetKeyState(VK_SCROLL) & 1;
  return m;
}

EventRecord MakeEvent(Window* w, std::uint32_t code, std::int32_t control) {
  EventRecord e;
  e.window = w;
  e.code = code;
  e.thread = w->thread;
  e.control = control;
  e.focus = w->focus;
  if (!w->current.empty()) {
    const EventRecord& now = w->current.back();
    e.keyCode = now.keyCode;
    e.keyChar = now.keyChar;
    e.keyState = now.keyState;
    e.mouseX = now.mouseX;
    e.mouseY = now.mouseY;
  } else if (w->thread) {
    const ThreadSlot& s = Slot(w->thread);
    e.keyCode = s.keyCode;
    e.keyChar = s.keyChar;
    e.keyState = s.keyState;
    e.mouseX = s.mouseX;
    e.mouseY = s.mouseY;
  }
  return e;
}

void Queue(Window* w, std::uint32_t code, std::int32_t control = 0) {
  w->pending.push_back(MakeEvent(w, code, control));
}

void ApplyFont(Window* w, HWND hwnd) {
  if (w->native->font) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(w->native->font), 0);
}

// The base units of the window's font.
UnitScale MeasureUnits(Window* w, HWND hwnd) {
  UnitScale scale;
  scale.pixels = w->plan.pixelUnits;
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, w->native->font ? w->native->font : GetStockObject(SYSTEM_FONT));
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

// --- Key and mouse input, for the window and for every control ---

bool IsAlerted(Window* w, std::uint32_t code) {
  return w->alertedKeys.count(ProgramKeyCode(code)) > 0;
}

void TakeKey(Window* w, std::uint32_t code, std::int32_t control) {
  ThreadSlot& s = Slot(w->thread);
  s.keyCode = code;
  if (IsAlerted(w, code)) {
    EventRecord e = MakeEvent(w, kEventAlertKey, control ? control : w->focus);
    e.keyCode = code;
    w->pending.push_back(e);
  }
}

// Handles the input messages that make key codes; true when consumed.
bool HandleInput(Window* w, std::int32_t control, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const bool extended = (lp >> 24) & 1;
      const std::uint32_t code =
          ComposeKeyCode(static_cast<std::uint32_t>(wp), extended, CurrentModifiers());
      Slot(w->thread).keyState = static_cast<std::uint8_t>((lp >> 16) & 0xFF);
      TakeKey(w, code, control);
      return IsAlerted(w, code);
    }
    case WM_CHAR: Slot(w->thread).keyChar = static_cast<std::uint8_t>(wp); return false;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      static constexpr struct {
        UINT msg;
        std::uint32_t key;
      } kButtons[] = {{WM_LBUTTONDOWN, kMouseLeft},     {WM_RBUTTONDOWN, kMouseRight},
                      {WM_MBUTTONDOWN, kMouseCenter},   {WM_LBUTTONDBLCLK, kMouseLeft2},
                      {WM_RBUTTONDBLCLK, kMouseRight2}, {WM_MBUTTONDBLCLK, kMouseCenter2}};
      for (const auto& b : kButtons) {
        if (b.msg == msg) {
          ThreadSlot& s = Slot(w->thread);
          s.mouseX = w->units.XToUnits(static_cast<short>(LOWORD(lp)));
          s.mouseY = w->units.YToUnits(static_cast<short>(HIWORD(lp)));
          TakeKey(w, ComposeKeyCode(b.key, false, CurrentModifiers()), control);
        }
      }
      return false;
    }
    default: return false;
  }
}

// Files dropped on the window or a control: their names joined with ",".
void TakeDrop(Window* w, std::int32_t control, HDROP drop) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::string text;
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string name(length + 1, '\0');
    DragQueryFileA(drop, i, name.data(), length + 1);
    name.resize(length);
    if (!text.empty()) text += ',';
    text += name;
  }
  DragFinish(drop);
  w->dropText = text;
  w->dropControl = control;
  Queue(w, kEventDrop, control);
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* c = reinterpret_cast<ControlObject*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!c) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_DROPFILES) {
    TakeDrop(c->window, c->plan.number, reinterpret_cast<HDROP>(wp));
    return 0;
  }
  if (msg == WM_SETFOCUS) c->window->focus = c->plan.number;
  if (HandleInput(c->window, c->plan.number, msg, wp, lp)) return 0;
  return CallWindowProcA(c->baseProc, hwnd, msg, wp, lp);
}

// --- Events processed at once and the loop ---

void FinishPass(Window* w, const EventRecord& e, int result);

// Runs the loop body for an event now (used for events that must be
// answered before the native action goes on); returns the pass result.
int ProcessNow(Window* w, const EventRecord& e) {
  if (!w->body) return kPassNormal;
  w->current.push_back(e);
  const int result = (*w->body)();
  w->current.pop_back();
  FinishPass(w, e, result);
  return result;
}

void ShowTabPages(Window* w, ControlObject* sheet) {
  const int selected = static_cast<int>(SendMessageA(sheet->hwnd, TCM_GETCURSEL, 0, 0));
  for (auto& tab : w->native->controls) {
    if (tab->plan.type != ControlType::Tab || tab->plan.parent != sheet->plan.number) continue;
    const int show = tab->tabIndex == selected ? SW_SHOW : SW_HIDE;
    for (auto& c : w->native->controls) {
      if (c->plan.parent == tab->plan.number && c->hwnd) ShowWindow(c->hwnd, show);
    }
  }
}

void ReadBack(ControlObject* c);
void LayoutStatusBar(Window* w);

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!w || !w->native) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case kQueryPostedEvent: {
      std::unique_ptr<EventRecord> e(reinterpret_cast<EventRecord*>(lp));
      if (e) {
        e->focus = w->focus;
        w->pending.push_back(*e);
      }
      return 0;
    }
    case WM_CLOSE: Queue(w, kEventCloseWindow); return 0;
    case WM_TIMER:
      if (wp == kWindowTimer && !w->timerPending) {
        w->timerPending = true;
        Queue(w, kEventTimer);
      }
      return 0;
    case WM_DROPFILES: TakeDrop(w, 0, reinterpret_cast<HDROP>(wp)); return 0;
    case WM_SIZE:
      if (w->native->statusBar) {
        SendMessageA(w->native->statusBar, WM_SIZE, 0, 0);
        LayoutStatusBar(w);
      }
      if (w->loops) Queue(w, kEventSized);
      break;
    case WM_MOVE:
      if (w->loops) Queue(w, kEventMoved);
      break;
    case WM_COMMAND: {
      ControlObject* c = FindControl(w, LOWORD(wp));
      if (c && HIWORD(wp) == BN_CLICKED) {
        ReadBack(c);
        w->accepted = c->plan.number;
        Queue(w, kEventAccepted, c->plan.number);
      } else if (c && HIWORD(wp) == EN_KILLFOCUS) {
        ReadBack(c);
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      ControlObject* sheet = FindControl(w, static_cast<std::int32_t>(header->idFrom));
      if (!sheet || sheet->plan.type != ControlType::Sheet) break;
      if (header->code == static_cast<UINT>(TCN_SELCHANGING)) {
        return ProcessNow(w, MakeEvent(w, kEventTabChanging, sheet->plan.number)) == kPassSkip;
      }
      if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        ShowTabPages(w, sheet);
        Queue(w, kEventNewSelection, sheet->plan.number);
      }
      return 0;
    }
    default:
      if (HandleInput(w, 0, msg, wp, lp)) return 0;
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// --- Controls ---

struct NativeClass {
  ControlType type;
  const char* wexClass;
  const char* baseClass;
  DWORD style;
};

// The native class and style of each control type.
constexpr NativeClass kNativeClasses[] = {
    {ControlType::Button, "WexButton", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP},
    {ControlType::Check, "WexCheck", "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP},
    {ControlType::Radio, "WexRadio", "BUTTON", BS_AUTORADIOBUTTON},
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
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    for (const auto& n : kNativeClasses) {
      WNDCLASSEXA base = {};
      base.cbSize = sizeof base;
      if (!GetClassInfoExA(nullptr, n.baseClass, &base)) continue;
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

// Writes the bound variable into the control.
void Redisplay(ControlObject* c) {
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
    SetWindowTextA(c->hwnd, UseText(c->use).c_str());
  }
}

// Reads the control's value back into its variable.
void ReadBack(ControlObject* c) {
  if (c->plan.type == ControlType::Radio) {
    ControlObject* option = FindControl(c->window, c->plan.parent);
    if (option && option->bound) SetUseText(option->use, c->plan.value);
    return;
  }
  if (!c->bound) return;
  if (c->plan.type == ControlType::Check) {
    SetUseNumber(c->use, SendMessageA(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
  } else if (c->plan.type == ControlType::Entry || c->plan.type == ControlType::Spin) {
    char text[1024] = {};
    GetWindowTextA(c->hwnd, text, sizeof text);
    SetUseText(c->use, text);
  }
}

bool AcceptsFiles(const std::vector<std::string>& targets) {
  return std::find(targets.begin(), targets.end(), "~FILE") != targets.end();
}

void CreateControls(Window* w) {
  HWND parent = w->native->hwnd;
  std::size_t nextUse = 0;
  for (const ControlPlan& plan : w->plan.controls) {
    auto c = std::make_unique<ControlObject>();
    c->plan = plan;
    c->window = w;
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
      }
      w->native->controls.push_back(std::move(c));
      continue;
    }
    const NativeClass* native = NativeClassOf(plan.type);
    if (!native) {  // list, menus and tool bars come with their own code
      w->native->controls.push_back(std::move(c));
      continue;
    }
    DWORD style = WS_CHILD | WS_VISIBLE | native->style;
    if (plan.type == ControlType::Entry && plan.displayOnly) style |= ES_READONLY;
    if (plan.type == ControlType::Button && plan.isDefault) style |= BS_DEFPUSHBUTTON;
    const UnitRect px = w->units.ToPixels(plan.rect);
    c->hwnd = CreateWindowExA(0, native->wexClass, plan.text.c_str(), style, px.x, px.y, px.width,
                              px.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.number)),
                              GetModuleHandleA(nullptr), nullptr);
    if (c->hwnd) {
      ApplyFont(w, c->hwnd);
      SetWindowLongPtrA(c->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c.get()));
      c->baseProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(c->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
      if (AcceptsFiles(plan.dropTargets)) DragAcceptFiles(c->hwnd, TRUE);
    }
    w->native->controls.push_back(std::move(c));
  }
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
  // A zone of width -1 takes what the fixed zones leave of the bar.
  int fixed = 0;
  for (std::int32_t width : w->plan.statusZones) {
    if (width >= 0) fixed += w->units.XToPixels(width);
  }
  const int rest = std::max(0, static_cast<int>(client.right) - fixed);
  std::vector<int> edges;
  int right = 0;
  for (std::int32_t width : w->plan.statusZones) {
    right += width < 0 ? rest : w->units.XToPixels(width);
    edges.push_back(right);
  }
  if (!edges.empty()) edges.back() = -1;
  SendMessageA(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < edges.size(); ++i) {
    SendMessageA(bar, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(w->zoneTexts[i].c_str()));
  }
}

DWORD FrameStyle(const WindowPlan& plan) {
  DWORD style = WS_CLIPCHILDREN;
  const std::int32_t kind = plan.frameFlags & 0x60;
  if (kind == 0x20)
    style |= WS_THICKFRAME;
  else if (kind == 0x40)
    style |= DS_MODALFRAME | WS_DLGFRAME;
  else if (kind == 0x00)
    style |= WS_BORDER;
  if (!plan.title.empty()) style |= WS_CAPTION;
  if (plan.frameFlags & 0x1000) style |= WS_SYSMENU;
  if (plan.frameFlags & 0x800) style |= WS_MAXIMIZEBOX;
  return style;
}

Window* WindowAt(std::int32_t thread) {
  if (thread < 1 || thread > kThreadSlots) return nullptr;
  std::lock_guard lock(g_tableLock);
  return Slot(thread).active;
}

// Takes the next event of the window, waiting for native messages while
// there is none; false when the loop has ended meanwhile.
bool NextEvent(Window* w, EventRecord& e) {
  while (w->pending.empty()) {
    if (w->loopEnded || !w->native) return false;
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  e = w->pending.front();
  w->pending.pop_front();
  return true;
}

// Ends one pass: what the pass result and the event mean for the loop.
void FinishPass(Window* w, const EventRecord& e, int result) {
  if (result == kPassLeave) {
    w->loopEnded = true;
    return;
  }
  if (e.code == kEventCloseWindow && result == kPassNormal) w->state = 2;
  if (e.code == kEventOpenFailed) w->loopEnded = true;
  // The viewer's windows have no child frames that must close first, so
  // a closing window ends its loop at once.
  if (w->state == 2) w->loopEnded = true;
}

// Suspend and resume across threads, and focus changes within a thread.
void NoteProcessing(Window* w, ThreadSlot& slot) {
  if (slot.lastProcessed != w) {
    if (slot.lastProcessed && slot.lastProcessed->native) {
      Queue(slot.lastProcessed, kEventLoseFocus);
    }
    Queue(w, kEventGainFocus);
    slot.lastProcessed = w;
  }
  if (g_lastProcessedThread && g_lastProcessedThread != w->thread) {
    if (Window* other = WindowAt(g_lastProcessedThread); other && other->native) {
      other->suspended = true;
      PostMessageA(other->native->hwnd, kQueryPostedEvent, 0,
                   reinterpret_cast<LPARAM>(new EventRecord(MakeEvent(other, kEventSuspend, 0))));
    }
  }
  if (w->suspended) {
    w->suspended = false;
    Queue(w, kEventResume);
  }
  g_lastProcessedThread = w->thread;
  g_lastProcessedWindow = w;
}

LibraryState StateForReport() {
  LibraryState s;
  Window* w = g_lastProcessedWindow;
  if (!w) return s;
  if (!w->current.empty()) {
    const EventRecord& e = w->current.back();
    s.event = static_cast<std::int32_t>(e.code);
    s.field = IsFieldEvent(e.code) ? e.control : 0;
  }
  s.focus = w->focus;
  s.accepted = w->accepted;
  if (!w->plan.controls.empty()) {
    s.firstField = w->plan.controls.front().number;
    s.lastField = w->plan.controls.front().number;
    for (const auto& c : w->plan.controls) {
      s.firstField = std::min(s.firstField, c.number);
      s.lastField = std::max(s.lastField, c.number);
    }
  }
  return s;
}

}  // namespace

Window::Window() = default;
Window::~Window() {
  if (native) CloseWindowObject(*this);
}

void CreateWindowFromPlan(Window& window, WindowPlan plan, std::vector<UseVariable> uses) {
  window.plan = std::move(plan);
  window.uses = std::move(uses);
}

bool WindowIsOpen(const Window& window) { return window.native && window.native->hwnd; }

void OpenWindowObject(Window& window) {
  if (WindowIsOpen(window)) {
    RuntimeErrorBox(535);
    return;
  }
  SetLibraryStateQuery(StateForReport);
  ThreadSlot* slot = MySlot();
  if (!slot) {
    RuntimeErrorBox(529);
    return;
  }
  RegisterControlClasses();
  Window* w = &window;
  w->thread = t_slot;
  w->serial = ++g_serial;
  w->state = 0;
  w->pending.clear();
  w->current.clear();
  w->loopEnded = false;
  w->timerPending = false;
  w->alertedKeys.clear();
  for (std::int32_t key : w->plan.alertKeys) w->alertedKeys.insert(static_cast<std::uint32_t>(key));
  w->zoneTexts.assign(w->plan.statusZones.size(), "");
  w->native = std::make_unique<NativeWindow>();

  HINSTANCE instance = GetModuleHandleA(nullptr);
  char className[64];
  std::snprintf(className, sizeof className, "WexWin%uClass%lu",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(instance)),
                static_cast<unsigned long>(w->serial));
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  if (!RegisterClassExA(&wc)) {
    w->native.reset();
    RuntimeErrorBox(503, kModuleTag);
    return;
  }
  w->native->className = className;
  w->native->font =
      CreateFontA(-MulDiv(w->plan.fontSize, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0,
                  0, DEFAULT_QUALITY, DEFAULT_PITCH, w->plan.fontFace.c_str());

  const DWORD style = FrameStyle(w->plan);
  w->native->hwnd =
      CreateWindowExA(0, className, w->plan.title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, w);
  if (!w->native->hwnd) {
    w->native.reset();
    RuntimeErrorBox(529);
    return;
  }
  w->units = MeasureUnits(w, w->native->hwnd);
  const UnitRect& r = w->plan.rect;
  if (r.width != kDefaultPosition && r.height != kDefaultPosition) {
    RECT frame = {0, 0, w->units.XToPixels(r.width), w->units.YToPixels(r.height)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    SetWindowPos(w->native->hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (r.x != kDefaultPosition && r.y != kDefaultPosition) {
    SetWindowPos(w->native->hwnd, nullptr, w->units.XToPixels(r.x), w->units.YToPixels(r.y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (w->plan.timer > 0) {
    SetTimer(w->native->hwnd, kWindowTimer, static_cast<UINT>(w->plan.timer) * 10, nullptr);
  }
  if (!w->plan.statusZones.empty()) {
    w->native->statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0,
                                           0, w->native->hwnd, nullptr, instance, nullptr);
    ApplyFont(w, w->native->statusBar);
    LayoutStatusBar(w);
  }
  if (AcceptsFiles(w->plan.dropTargets)) DragAcceptFiles(w->native->hwnd, TRUE);
  CreateControls(w);
  if (!w->native) return;
  ShowWindow(w->native->hwnd, (w->plan.frameFlags & 0x4000) ? SW_SHOWMAXIMIZED : SW_SHOW);
  {
    std::lock_guard lock(g_tableLock);
    w->previousActive = slot->active;
    slot->active = w;
  }
  Queue(w, kEventOpenWindow);
}

void CloseWindowObject(Window& window) {
  if (!window.native) return;
  window.loopEnded = true;
  if (window.native->hwnd) {
    KillTimer(window.native->hwnd, kWindowTimer);
    SetWindowLongPtrA(window.native->hwnd, GWLP_USERDATA, 0);
  }
  for (auto& c : window.native->controls) {
    if (c->hwnd) SetWindowLongPtrA(c->hwnd, GWLP_USERDATA, 0);
  }
  window.native.reset();
  window.pending.clear();
  if (window.thread) {
    std::lock_guard lock(g_tableLock);
    ThreadSlot& s = Slot(window.thread);
    if (s.active == &window) s.active = window.previousActive;
    if (s.target == &window) s.target = nullptr;
    if (s.lastProcessed == &window) s.lastProcessed = nullptr;
  }
  if (g_lastProcessedWindow == &window) g_lastProcessedWindow = nullptr;
}

void DisposeWindowObject(Window& window) {
  CloseWindowObject(window);
  window.plan = WindowPlan{};
  window.uses.clear();
}

void Accept(const std::function<int()>& body) {
  ThreadSlot* slot = MySlot();
  Window* w = slot ? slot->active : nullptr;
  if (!w || !w->native) {
    RuntimeErrorBox(537);
    return;
  }
  const auto* outerBody = w->body;
  w->body = &body;
  ++w->loops;
  w->loopEnded = false;
  EventRecord e;
  while (!w->loopEnded) {
    NoteProcessing(w, *slot);
    if (!NextEvent(w, e)) break;
    if (e.code == kEventSelected) w->focus = e.control;
    if (e.code == kEventTimer) w->timerPending = false;
    w->current.push_back(e);
    const int result = body();
    w->current.pop_back();
    FinishPass(w, e, result);
  }
  --w->loops;
  w->body = outerBody;
}

namespace {
const EventRecord* CurrentEvent() {
  Window* w = Addressed();
  return w && !w->current.empty() ? &w->current.back() : nullptr;
}
}  // namespace

std::int32_t EVENT() {
  const EventRecord* e = CurrentEvent();
  return e ? static_cast<std::int32_t>(e->code - kEventOffset) : 0;
}
std::int32_t FIELD() {
  const EventRecord* e = CurrentEvent();
  return e && IsFieldEvent(e->code) ? e->control : 0;
}
std::int32_t ACCEPTED() {
  Window* w = Addressed();
  return w ? w->accepted : 0;
}
std::int32_t FOCUS() {
  Window* w = Addressed();
  return w ? w->focus : 0;
}
std::int32_t FIRSTFIELD() {
  Window* w = Addressed();
  if (!w || w->plan.controls.empty()) return 0;
  std::int32_t n = w->plan.controls.front().number;
  for (const auto& c : w->plan.controls) n = std::min(n, c.number);
  return n;
}
std::int32_t LASTFIELD() {
  Window* w = Addressed();
  if (!w || w->plan.controls.empty()) return 0;
  std::int32_t n = w->plan.controls.front().number;
  for (const auto& c : w->plan.controls) n = std::max(n, c.number);
  return n;
}
std::uint32_t CurrentKeyCode() {
  if (const EventRecord* e = CurrentEvent()) return ProgramKeyCode(e->keyCode);
  ThreadSlot* s = MySlot();
  return s ? ProgramKeyCode(s->keyCode) : 0;
}

std::int32_t CurrentThread() { return ClaimSlot(); }
Window* ActiveWindow(std::int32_t thread) { return WindowAt(thread ? thread : ClaimSlot()); }

void SetTarget(Window* window) {
  if (ThreadSlot* s = MySlot()) s->target = window;
}

void PostEvent(std::int32_t event, std::int32_t control, std::int32_t thread) {
  const std::int32_t mine = ClaimSlot();
  const std::int32_t to = thread ? thread : mine;
  Window* w = WindowAt(to);
  if (!w || !w->native) return;
  // Every posted event travels through the window's native queue, from
  // this thread as from any other, so that events arrive in the order in
  // which they were posted.
  auto record = std::make_unique<EventRecord>();
  Window* poster = mine ? Slot(mine).active : nullptr;
  if (poster && poster->native) {
    *record = MakeEvent(poster, 0, 0);
  } else if (mine) {
    const ThreadSlot& s = Slot(mine);
    record->keyCode = s.keyCode;
    record->keyChar = s.keyChar;
    record->keyState = s.keyState;
    record->mouseX = s.mouseX;
    record->mouseY = s.mouseY;
  }
  record->window = w;
  record->code = static_cast<std::uint32_t>(event) + kEventOffset;
  record->thread = to;
  record->control = control;
  record->focus = 0;
  if (PostMessageA(w->native->hwnd, kQueryPostedEvent, 0, reinterpret_cast<LPARAM>(record.get()))) {
    record.release();
  }
}

void AlertKeys(std::uint32_t first, std::uint32_t last) {
  Window* w = Addressed();
  if (!w) return;
  if (first == 0 && last == 0) {
    w->alertedKeys.clear();
    return;
  }
  if (last < first) last = first;
  for (std::uint32_t k = first; k <= last && k <= 0x7FF; ++k) w->alertedKeys.insert(k);
}

namespace {
template <typename F>
void ForRange(std::int32_t first, std::int32_t last, F&& f) {
  Window* w = Addressed();
  if (!w || !w->native) return;
  if (last == 0) last = first;
  for (auto& c : w->native->controls) {
    if (first == 0 || (c->plan.number >= first && c->plan.number <= last)) f(c.get());
  }
}
}  // namespace

void RedisplayControls(std::int32_t first, std::int32_t last) {
  if (first == 0) last = 0;
  ForRange(first, last, [](ControlObject* c) { Redisplay(c); });
}
void HideControls(std::int32_t first, std::int32_t last) {
  ForRange(first, last, [](ControlObject* c) {
    if (c->hwnd) ShowWindow(c->hwnd, SW_HIDE);
  });
}
void ShowControls(std::int32_t first, std::int32_t last) {
  ForRange(first, last, [](ControlObject* c) {
    if (c->hwnd) ShowWindow(c->hwnd, SW_SHOW);
  });
}
void EnableControls(std::int32_t first, std::int32_t last) {
  ForRange(first, last, [](ControlObject* c) {
    if (c->hwnd) EnableWindow(c->hwnd, TRUE);
  });
}
void DisableControls(std::int32_t first, std::int32_t last) {
  ForRange(first, last, [](ControlObject* c) {
    if (c->hwnd) EnableWindow(c->hwnd, FALSE);
  });
}

namespace {

// The geometry of the window (position of its frame, size of its client
// area) or of a control (within the client area), in window units.
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
  return w->units.ToUnits({r.left, r.top, r.right - r.left, r.bottom - r.top});
}

}  // namespace

void SetControlPosition(std::int32_t control, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height) {
  Window* w = Addressed();
  if (!w || !w->native) return;
  UnitRect now = GeometryOf(w, control);
  if (control != 0 && !FindControl(w, control)) return;
  if (x != kDefaultPosition) now.x = x;
  if (y != kDefaultPosition) now.y = y;
  if (width != kDefaultPosition) now.width = width;
  if (height != kDefaultPosition) now.height = height;
  const UnitRect px = w->units.ToPixels(now);
  if (control == 0) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(w->native->hwnd, GWL_STYLE));
    RECT frame = {0, 0, px.width, px.height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    SetWindowPos(w->native->hwnd, nullptr, px.x, px.y, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    MoveWindow(FindControl(w, control)->hwnd, px.x, px.y, px.width, px.height, TRUE);
  }
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
      Queue(w, kEventNewSelection, control);
    }
  }
  SetFocus(c->hwnd);
  w->focus = control;
}

std::int32_t CurrentChoice(std::int32_t control) {
  ControlObject* c = FindControl(Addressed(), control);
  if (!c || !c->hwnd || c->plan.type != ControlType::Sheet) return 0;
  return static_cast<std::int32_t>(SendMessageA(c->hwnd, TCM_GETCURSEL, 0, 0)) + 1;
}

std::string GetProperty(std::int32_t control, std::uint32_t property, std::int32_t index) {
  Window* w = Addressed();
  if (!w || !w->native) return {};
  ControlObject* c = FindControl(w, control);
  if (control != 0 && !c) return {};
  HWND hwnd = control == 0 ? w->native->hwnd : c->hwnd;
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
    case PROP::Pixels: return control == 0 && w->units.pixels ? "1" : "";
    case PROP::Maximize: return control == 0 && IsZoomed(w->native->hwnd) ? "1" : "";
    case PROP::Visible: return hwnd && IsWindowVisible(hwnd) ? "1" : "";
    case PROP::Enabled: return hwnd && IsWindowEnabled(hwnd) ? "1" : "";
    case PROP::StatusText:
      if (index >= 1 && static_cast<std::size_t>(index) <= w->zoneTexts.size()) {
        return w->zoneTexts[static_cast<std::size_t>(index - 1)];
      }
      return {};
    default: return {};
  }
}

void SetProperty(std::int32_t control, std::uint32_t property, std::string_view value,
                 std::int32_t index) {
  Window* w = Addressed();
  if (!w || !w->native) return;
  ControlObject* c = FindControl(w, control);
  if (control != 0 && !c) return;
  HWND hwnd = control == 0 ? w->native->hwnd : c->hwnd;
  const std::string text(value);
  const long number = std::strtol(text.c_str(), nullptr, 10);
  switch (property) {
    case PROP::Text:
      if (c && c->bound) SetUseText(c->use, text);
      if (hwnd) SetWindowTextA(hwnd, text.c_str());
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
      if (control == 0) w->units.pixels = number != 0 || text == "1";
      break;
    case PROP::Maximize:
      if (control == 0) ShowWindow(hwnd, number ? SW_MAXIMIZE : SW_RESTORE);
      break;
    case PROP::Visible:
      if (hwnd) ShowWindow(hwnd, number ? SW_SHOW : SW_HIDE);
      break;
    case PROP::Enabled:
      if (hwnd) EnableWindow(hwnd, number ? TRUE : FALSE);
      break;
    case PROP::StatusText:
      if (index >= 1 && static_cast<std::size_t>(index) <= w->zoneTexts.size()) {
        w->zoneTexts[static_cast<std::size_t>(index - 1)] = text;
        if (w->native->statusBar) {
          SendMessageA(
              w->native->statusBar, SB_SETTEXTA, static_cast<WPARAM>(index - 1),
              reinterpret_cast<LPARAM>(w->zoneTexts[static_cast<std::size_t>(index - 1)].c_str()));
        }
      }
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

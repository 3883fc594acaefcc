// Windows and the event loop on Win32: the thread table, window objects
// opened as native windows, events and their posting, and the loop.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>

#include "core/error_state.h"
#include "core/phase_trace.h"
#include "images/image_source.h"
#include "winrt/event_codes.h"
#include "winrt/fault_report_win32.h"
#include "winrt/key_codes.h"
#include "winrt/menus_win32.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra {

NativeWindowParts::~NativeWindowParts() {
  controls.clear();
  wallpaper.reset();
  if (hwnd) DestroyWindow(hwnd);
  if (!className.empty()) UnregisterClassA(className.c_str(), GetModuleHandleA(nullptr));
}

namespace {

std::mutex g_tableLock;
std::array<internal::ThreadSlot, internal::kThreadSlots + 1> g_threads;  // slot 0 unused
thread_local std::int32_t t_slot = 0;
std::atomic<std::uint32_t> g_serial{0};
Window* g_lastProcessedWindow = nullptr;
std::int32_t g_lastProcessedThread = 0;
std::vector<Window*> g_openWindows;  // under g_tableLock

// The thread that shows a system-modal dialog (0: none), and how deep.
std::atomic<DWORD> g_modalThread{0};
int g_modalDepth = 0;  // touched by the modal thread only

// A frame's close called off by a window that refused to close with it.
constexpr UINT kQueryCloseRefused = 0x2406;

}  // namespace

namespace internal {

ThreadSlot& Slot(std::int32_t n) { return g_threads[static_cast<std::size_t>(n)]; }

namespace {

// Whether the thread of an id has ended (or never was).
bool ThreadEnded(DWORD id) {
  HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
  if (!thread) return true;
  const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return ended;
}

}  // namespace

std::int32_t ClaimSlot() {
  if (t_slot) return t_slot;
  std::lock_guard lock(g_tableLock);
  const DWORD me = GetCurrentThreadId();
  auto claim = [&](std::int32_t n) {
    Slot(n) = ThreadSlot{};
    Slot(n).threadId = me;
    if (g_lastProcessedThread == n) g_lastProcessedThread = 0;
    t_slot = n;
    return n;
  };
  for (std::int32_t n = 1; n <= kThreadSlots; ++n) {
    if (Slot(n).threadId == 0) return claim(n);
  }
  // When every slot is taken, the slots of threads that have ended are
  // taken back, so that a program that starts many threads over its life
  // does not run out of them.
  for (std::int32_t n = 1; n <= kThreadSlots; ++n) {
    if (Slot(n).threadId == me || ThreadEnded(Slot(n).threadId)) return claim(n);
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

void QueueEvent(Window* w, std::uint32_t code, std::int32_t control) {
  w->pending.push_back(MakeEvent(w, code, control));
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

// Whether the window waits for a window opened from it: it is disabled
// meanwhile and takes no commands, keys, clicks or drops.
bool Waiting(const Window* w) {
  return w->native && w->native->hwnd && !IsWindowEnabled(w->native->hwnd);
}

// Handles the input messages that make key codes; true when consumed.
bool HandleInput(Window* w, std::int32_t control, UINT msg, WPARAM wp, LPARAM lp) {
  const bool input =
      (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST);
  if (input && Waiting(w)) return true;
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      PhaseMarkNumber("key received", static_cast<std::int64_t>(wp));
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
  if (Waiting(w)) {
    DragFinish(drop);
    return;
  }
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
  QueueEvent(w, kEventDrop, control);
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

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  // The GDI tally, asked from outside.
  static const UINT tallyQuery = RegisterWindowMessageA(gdi_tally::kGdiTallyQuery);
  if (msg == tallyQuery && tallyQuery != 0) return gdi_tally::Answer(wp);
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!w || !w->native) return DefWindowProcA(hwnd, msg, wp, lp);
  if (auto result = PaletteMessage(w, msg, wp, lp)) return *result;
  switch (msg) {
    case kQueryPostedEvent: {
      std::unique_ptr<EventRecord> e(reinterpret_cast<EventRecord*>(lp));
      if (e) {
        e->focus = w->focus;
        w->pending.push_back(*e);
      }
      return 0;
    }
    case WM_CLOSE: QueueEvent(w, kEventCloseWindow); return 0;
    case WM_ACTIVATE:
      // Back in front, the window gives the focus back to its control.
      if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp) && RestoreFocus(w)) return 0;
      break;
    case WM_NCACTIVATE:
      // Shown for the first time, the window is activated and then has its
      // frame painted whole: painted on activation as well, its caption
      // and menu bar would be drawn twice.
      if (w->native->firstShow && wp) return DefWindowProcA(hwnd, msg, wp, -1);
      break;
    case kQueryCloseRefused:
      if (w->state == 1) w->state = 0;
      return 0;
    case WM_TIMER:
      if (wp == kWindowTimer && !w->timerPending) {
        w->timerPending = true;
        QueueEvent(w, kEventTimer);
      }
      return 0;
    case WM_DROPFILES: TakeDrop(w, 0, reinterpret_cast<HDROP>(wp)); return 0;
    case WM_ERASEBKGND: {
      const PhaseScope phase("main window: WM_ERASEBKGND");
      PaintBackdrop(w, hwnd, reinterpret_cast<HDC>(wp));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      if (auto result = ControlColours(w, reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) {
        return *result;
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lp == 0) {
        ScrollWindowBy(w, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp));
        return 0;
      }
      // A spin box's arrows: its new value is taken at once.
      for (auto& c : w->native->controls) {
        if (c->arrows && c->arrows == reinterpret_cast<HWND>(lp) && LOWORD(wp) != SB_ENDSCROLL) {
          ReadBack(c.get());
          QueueEvent(w, kEventNewSelection, c->plan.number);
          return 0;
        }
      }
      break;
    case WM_SIZE:
      LayoutToolBar(w);
      if (w->native->statusBar) {
        SendMessageA(w->native->statusBar, WM_SIZE, 0, 0);
        LayoutStatusBar(w);
      }
      if (w->loops) QueueEvent(w, kEventSized);
      break;
    case WM_MOVE:
      if (w->loops) QueueEvent(w, kEventMoved);
      break;
    case WM_COMMAND: {
      ControlObject* c = FindControl(w, LOWORD(wp));
      if (Waiting(w) && HIWORD(wp) != EN_KILLFOCUS) return 0;
      if (IsMenuEntry(c)) {
        if (lp == 0) ChooseMenuItem(w, c);
      } else if (c && HIWORD(wp) == BN_CLICKED) {
        ControlPressed(c);
      } else if (c && HIWORD(wp) == EN_KILLFOCUS) {
        TakeTypedEntry(c);
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
        QueueEvent(w, kEventNewSelection, sheet->plan.number);
      }
      return 0;
    }
    default:
      if (HandleInput(w, 0, msg, wp, lp)) return 0;
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
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
  if (!plan.icon.empty()) style |= WS_MINIMIZEBOX;
  return style;
}

BOOL CALLBACK TakeFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
  auto* icon = reinterpret_cast<std::string*>(found);
  *icon =
      IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name)) : name;
  return FALSE;
}

// The icon of a window's class: the window's own icon (a resource of the
// program named like its file, or an icon file), else the program's first
// icon, else the system's.
HICON WindowIcon(HINSTANCE instance, const std::string& name) {
  std::string_view own = name;
  if (!own.empty() && own.front() == '~') own.remove_prefix(1);
  if (!own.empty()) {
    const std::string resource = ImageResourceName(own);
    if (HICON icon = LoadIconA(instance, resource.c_str())) return icon;
    const std::string file(own);
    if (HICON icon = gdi_tally::Made(static_cast<HICON>(LoadImageA(
            nullptr, file.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE)))) {
      return icon;
    }
  }
  std::string first;
  EnumResourceNamesA(instance, reinterpret_cast<LPCSTR>(RT_GROUP_ICON), TakeFirstName,
                     reinterpret_cast<LONG_PTR>(&first));
  if (!first.empty()) {
    if (HICON icon = LoadIconA(instance, first.c_str())) return icon;
  }
  return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

Window* WindowAt(std::int32_t thread) {
  if (thread < 1 || thread > kThreadSlots) return nullptr;
  std::lock_guard lock(g_tableLock);
  return Slot(thread).active;
}

// The open windows that must close before a frame: those opened from it.
std::vector<Window*> WindowsOfFrame(Window* frame) {
  std::lock_guard lock(g_tableLock);
  std::vector<Window*> found;
  for (Window* w : g_openWindows) {
    if (w->frame == frame) found.push_back(w);
  }
  return found;
}

// Takes the next event of the window, waiting for native messages while
// there is none; false when the loop has ended meanwhile.
bool NextEvent(Window* w, EventRecord& e) {
  while (w->pending.empty()) {
    if (w->state == 1 && WindowsOfFrame(w).empty()) w->loopEnded = true;
    if (w->loopEnded || !w->native) return false;
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (DialogKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  e = w->pending.front();
  w->pending.pop_front();
  return true;
}

// Ends one pass: what the pass result and the event mean for the loop.
// A closing window asks the windows opened from it to close first. One
// whose loop runs (on another thread) gets "EVENT:CloseDown" and the frame
// waits in state 1 until it has closed; one whose loop does not run could
// never answer, so it is closed at once.
void CloseFrame(Window* w) {
  bool waiting = false;
  for (Window* child : WindowsOfFrame(w)) {
    if (child->thread == w->thread && child->loops == 0) {
      CloseWindowObject(*child);
      continue;
    }
    waiting = true;
    if (child->native && child->native->hwnd) {
      auto record = std::make_unique<EventRecord>(MakeEvent(child, kEventCloseDown, 0));
      if (PostMessageA(child->native->hwnd, kQueryPostedEvent, 0,
                       reinterpret_cast<LPARAM>(record.get()))) {
        record.release();
      }
    }
  }
  if (waiting) {
    w->state = 1;
  } else {
    w->loopEnded = true;
  }
}

void FinishPass(Window* w, const EventRecord& e, int result) {
  if (result == kPassLeave) {
    w->loopEnded = true;
    return;
  }
  if (e.code == kEventCloseWindow && result == kPassNormal) w->state = 2;
  if (e.code == kEventOpenFailed) w->loopEnded = true;
  if (e.code == kEventCloseDown) {
    if (result == kPassNormal) {
      w->state = 2;
    } else if (w->frame && w->frame->native && w->frame->native->hwnd) {
      PostMessageA(w->frame->native->hwnd, kQueryCloseRefused, 0, 0);
    }
  }
  if (w->state == 2) CloseFrame(w);
  if (w->state == 1 && WindowsOfFrame(w).empty()) w->loopEnded = true;
}

// Suspend and resume across threads, and focus changes within a thread.
void NoteProcessing(Window* w, ThreadSlot& slot) {
  if (slot.lastProcessed != w) {
    if (slot.lastProcessed && slot.lastProcessed->native) {
      QueueEvent(slot.lastProcessed, kEventLoseFocus);
    }
    QueueEvent(w, kEventGainFocus);
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
    QueueEvent(w, kEventResume);
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

}  // namespace internal

using namespace internal;

Window::Window() = default;
Window::~Window() {
  if (native) CloseWindowObject(*this);
}

void CreateWindowFromPlan(Window& window, WindowPlan plan, std::vector<UseVariable> uses) {
  window.plan = std::move(plan);
  window.uses = std::move(uses);
}

bool WindowIsOpen(const Window& window) { return window.native && window.native->hwnd; }

void ShowOpenedWindow(Window& window) {
  if (!window.native || !window.native->hwnd) return;
  const PhaseScope phase("window shown");
  if (!IsWindowVisible(window.native->hwnd)) {
    window.native->firstShow = true;
    ShowWindow(window.native->hwnd, (window.plan.frameFlags & 0x4000) ? SW_SHOWMAXIMIZED : SW_SHOW);
    if (window.native) window.native->firstShow = false;
  }
}

void OpenWindowObject(Window& window, bool shown) {
  if (WindowIsOpen(window)) {
    RuntimeErrorBox(535);
    return;
  }
  if (SystemIsModal()) {
    RuntimeErrorBox(542);
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
  w->focus = 0;
  w->alertedKeys.clear();
  for (std::int32_t key : w->plan.alertKeys) w->alertedKeys.insert(static_cast<std::uint32_t>(key));
  w->zoneTexts.assign(w->plan.statusZones.size(), "");
  w->native = std::make_unique<NativeWindowParts>();

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
  wc.hIcon = WindowIcon(instance, w->plan.icon);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  if (!RegisterClassExA(&wc)) {
    w->native.reset();
    RuntimeErrorBox(503, kModuleTag);
    return;
  }
  w->native->className = className;
  w->native->font = GdiObject(CreateFontA(-MulDiv(w->plan.fontSize, 96, 72), 0, 0, 0, FW_NORMAL, 0,
                                          0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, DEFAULT_PITCH,
                                          w->plan.fontFace.c_str()));

  const DWORD style = FrameStyle(w->plan);
  // A window opened while another of its thread is active belongs to that
  // one: it stays above it, and the other waits while it runs (Accept).
  Window* owner = slot->active && slot->active->native ? slot->active : nullptr;
  w->native->hwnd = CreateWindowExA(0, className, w->plan.title.c_str(), style, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    owner ? owner->native->hwnd : nullptr, nullptr, instance, w);
  if (!w->native->hwnd) {
    w->native.reset();
    RuntimeErrorBox(529);
    return;
  }
  w->units = MeasureUnits(w, w->native->hwnd);
  CreateMenuBar(w);
  if (!w->native) return;
  CreateWindowPalette(w);
  const UnitRect& r = w->plan.rect;
  if (r.width != kDefaultPosition && r.height != kDefaultPosition) {
    RECT frame = {0, 0, w->units.XToPixels(r.width), w->units.YToPixels(r.height)};
    if (w->plan.flags & 0x2) frame.right += GetSystemMetrics(SM_CXVSCROLL);
    if (w->plan.flags & 0x1) frame.bottom += GetSystemMetrics(SM_CYHSCROLL);
    AdjustWindowRectEx(&frame, style, GetMenu(w->native->hwnd) != nullptr, 0);
    SetWindowPos(w->native->hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (r.x != kDefaultPosition && r.y != kDefaultPosition) {
    SetWindowPos(w->native->hwnd, nullptr, w->units.XToPixels(r.x), w->units.YToPixels(r.y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (slot->active && slot->active->native) {
    PlaceOnOwner(w->native->hwnd, slot->active->native->hwnd);
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
  if (w->plan.background >= 0) SetBackgroundColour(w, w->plan.background);
  w->native->wallpaper = std::make_unique<Wallpaper>(w->native->hwnd);
  if (!w->plan.wallpaper.empty()) {
    w->native->wallpaper->SetTiled(w->plan.wallpaperTiled);
    w->native->wallpaper->Assign(w->plan.wallpaper);
  }
  if (w->plan.flags & 0x1) SetWindowScrollBar(w, SB_HORZ, true);
  if (w->plan.flags & 0x2) SetWindowScrollBar(w, SB_VERT, true);
  CreateControls(w);
  if (!w->native) return;
  if (shown) ShowOpenedWindow(*w);
  {
    std::lock_guard lock(g_tableLock);
    w->previousActive = slot->active;
    // The window is opened from its frame: the window active on its thread,
    // or for the first window of another thread the program's first
    // thread's active window.
    w->frame = slot->active ? slot->active : (t_slot != 1 ? Slot(1).active : nullptr);
    slot->active = w;
    g_openWindows.push_back(w);
  }
  QueueEvent(w, kEventOpenWindow);
}

void CloseWindowObject(Window& window) {
  if (!window.native) return;
  {
    std::lock_guard lock(g_tableLock);
    std::erase(g_openWindows, &window);
    for (Window* other : g_openWindows) {
      if (other->frame == &window) other->frame = nullptr;
    }
    // A frame waiting for its windows to close looks again.
    Window* frame = window.frame;
    if (frame &&
        std::find(g_openWindows.begin(), g_openWindows.end(), frame) != g_openWindows.end()) {
      PostMessageA(frame->native->hwnd, WM_NULL, 0, 0);
    }
    window.frame = nullptr;
  }
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

void EnterSystemModal() {
  const DWORD me = GetCurrentThreadId();
  DWORD holder = 0;
  if (g_modalThread.compare_exchange_strong(holder, me)) {
    g_modalDepth = 1;  // taken afresh, also from a thread that ended holding it
  } else if (holder == me) {
    ++g_modalDepth;
  }
}

void LeaveSystemModal() {
  if (g_modalThread.load() != GetCurrentThreadId()) return;
  if (--g_modalDepth <= 0) {
    g_modalDepth = 0;
    g_modalThread.store(0);
  }
}

bool SystemIsModal() {
  DWORD modal = g_modalThread.load();
  if (modal == 0 || modal == GetCurrentThreadId()) return false;
  // A thread that ended while it held the modal has given it up.
  if (ThreadEnded(modal)) {
    g_modalThread.compare_exchange_strong(modal, 0);
    return false;
  }
  return true;
}

namespace {

// While a window's loop runs, the window it was opened from on the same
// thread is disabled: it takes no input until the loop has ended. It is
// enabled again before the window closes, so that it becomes active then.
class OwnerWaits {
 public:
  explicit OwnerWaits(Window* w) {
    HWND owner = w->native && w->loops == 0 ? GetWindow(w->native->hwnd, GW_OWNER) : nullptr;
    if (owner && !EnableWindow(owner, FALSE)) owner_ = owner;
  }
  ~OwnerWaits() {
    if (owner_) EnableWindow(owner_, TRUE);
  }
  OwnerWaits(const OwnerWaits&) = delete;
  OwnerWaits& operator=(const OwnerWaits&) = delete;

 private:
  HWND owner_ = nullptr;
};

}  // namespace

void Accept(const std::function<int()>& body) {
  ThreadSlot* slot = MySlot();
  Window* w = slot ? slot->active : nullptr;
  if (!w || !w->native) {
    RuntimeErrorBox(537);
    return;
  }
  if (SystemIsModal()) {
    RuntimeErrorBox(540);
    return;
  }
  const auto* outerBody = w->body;
  w->body = &body;
  const OwnerWaits waits(w);
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
    // Once the program has set the window up, the focus goes to its first
    // control, unless the program has put it elsewhere.
    if (e.code == kEventOpenWindow && w->native) FocusFirstControl(w);
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

}  // namespace lumbra

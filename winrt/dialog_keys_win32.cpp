// The keyboard of the runtime's windows, as a dialog has it: hot keys of
// controls, Tab and Shift+Tab through the controls in number order, Enter
// on the default button, Esc, arrows within an option group, and the "&"
// letters of prompts, groups and buttons. The loop looks at each key before
// it is dispatched; a key the program has alerted goes to the program.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <vector>

#include "winrt/event_codes.h"
#include "winrt/key_codes.h"
#include "winrt/menus_win32.h"
#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra::internal {

namespace {

// The runtime's window that a native window belongs to, or null.
Window* RuntimeWindowOf(HWND hwnd) {
  HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  char name[16] = {};
  if (!root || !GetClassNameA(root, name, sizeof name) || std::strncmp(name, "WexWin", 6) != 0) {
    return nullptr;
  }
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrA(root, GWLP_USERDATA));
  return w && w->native ? w : nullptr;
}

bool IsPushButton(const ControlObject* c) {
  return c->plan.type == ControlType::Button && !IsToolBarButton(c->window, c->plan);
}

bool IsTypedInto(const ControlObject* c) {
  return c->plan.type == ControlType::Entry || c->plan.type == ControlType::Spin;
}

bool Usable(const ControlObject* c) {
  return c->hwnd && IsWindowVisible(c->hwnd) && IsWindowEnabled(c->hwnd);
}

// Controls that take the focus: buttons (not the tool bar's), check boxes,
// radios, fields the user types into, lists and sheets.
bool CanFocus(const ControlObject* c) {
  if (!Usable(c)) return false;
  switch (c->plan.type) {
    case ControlType::Button: return IsPushButton(c);
    case ControlType::Entry: return !c->plan.displayOnly;
    case ControlType::Check:
    case ControlType::Radio:
    case ControlType::Spin:
    case ControlType::List:
    case ControlType::Sheet: return true;
    default: return false;
  }
}

bool Checked(const ControlObject* c) {
  return SendMessageA(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<ControlObject*> ByNumber(Window* w) {
  std::vector<ControlObject*> controls;
  for (auto& c : w->native->controls) controls.push_back(c.get());
  std::stable_sort(controls.begin(), controls.end(),
                   [](const auto* a, const auto* b) { return a->plan.number < b->plan.number; });
  return controls;
}

// The radios of the option group holding a radio, in number order.
std::vector<ControlObject*> RadiosBeside(ControlObject* radio) {
  std::vector<ControlObject*> radios;
  for (ControlObject* r : ByNumber(radio->window)) {
    if (r->plan.type == ControlType::Radio && r->plan.parent == radio->plan.parent && CanFocus(r))
      radios.push_back(r);
  }
  return radios;
}

// An option group is one stop of the tab order: its checked radio, or its
// first one while none is checked.
bool IsTabStop(ControlObject* c) {
  if (!CanFocus(c)) return false;
  if (c->plan.type != ControlType::Radio) return true;
  const std::vector<ControlObject*> radios = RadiosBeside(c);
  const auto checked = std::find_if(radios.begin(), radios.end(), Checked);
  return checked != radios.end() ? *checked == c : radios.front() == c;
}

std::vector<ControlObject*> TabStops(Window* w) {
  std::vector<ControlObject*> stops;
  for (ControlObject* c : ByNumber(w)) {
    if (IsTabStop(c)) stops.push_back(c);
  }
  return stops;
}

ControlObject* FocusedControl(Window* w) {
  HWND focus = GetFocus();
  if (!focus) return nullptr;
  for (auto& c : w->native->controls) {
    if (c->hwnd && (c->hwnd == focus || IsChild(c->hwnd, focus))) return c.get();
  }
  return nullptr;
}

// The window's default button: the first button marked so, while it can
// be pressed.
ControlObject* DefaultButton(Window* w) {
  for (auto& c : w->native->controls) {
    if (c->plan.isDefault && IsPushButton(c.get())) return Usable(c.get()) ? c.get() : nullptr;
  }
  return nullptr;
}

// Moves the focus to a control; a field's text is selected whole, so that
// what is typed replaces it.
void MoveFocus(ControlObject* c) {
  SetFocus(c->hwnd);
  if (IsTypedInto(c)) SendMessageA(c->hwnd, EM_SETSEL, 0, -1);
}

// The next tab stop after a control number (before it, backwards), round
// the window.
ControlObject* NextStop(Window* w, std::int32_t from, bool backwards) {
  const std::vector<ControlObject*> stops = TabStops(w);
  if (stops.empty()) return nullptr;
  if (backwards) {
    for (auto it = stops.rbegin(); it != stops.rend(); ++it) {
      if ((*it)->plan.number < from) return *it;
    }
    return stops.back();
  }
  for (ControlObject* c : stops) {
    if (c->plan.number > from) return c;
  }
  return stops.front();
}

// What a hot key or a mnemonic does to its control: a button is pressed,
// a check box toggled, a radio chosen; another control takes the focus,
// and a label hands it to the first control after it.
void Activate(ControlObject* c) {
  Window* w = c->window;
  switch (c->plan.type) {
    case ControlType::Button:
      TakeTypedEntry(FocusedControl(w));
      ControlPressed(c);
      return;
    case ControlType::Check:
      MoveFocus(c);
      SendMessageA(c->hwnd, BM_SETCHECK, Checked(c) ? BST_UNCHECKED : BST_CHECKED, 0);
      ControlPressed(c);
      return;
    case ControlType::Radio:
      MoveFocus(c);
      ControlPressed(c);
      return;
    default: break;
  }
  if (CanFocus(c)) {
    MoveFocus(c);
  } else if (ControlObject* next = NextStop(w, c->plan.number, false)) {
    MoveFocus(next);
  }
}

bool HotKey(Window* w, std::uint32_t key) {
  for (ControlObject* c : ByNumber(w)) {
    if (c->plan.hotKey != 0 && ProgramKeyCode(static_cast<std::uint32_t>(c->plan.hotKey)) == key &&
        Usable(c)) {
      Activate(c);
      return true;
    }
  }
  return false;
}

bool Tab(Window* w, bool backwards) {
  const ControlObject* focused = FocusedControl(w);
  ControlObject* next =
      NextStop(w, focused ? focused->plan.number : (backwards ? 0x7FFFFFFF : 0), backwards);
  if (!next) return false;
  MoveFocus(next);
  return true;
}

// Enter presses the button with the focus, or else the default button. A
// multi-line field that wants Enter keeps it; a field's typed entry is
// taken first, and when it is refused the window stays as it is.
bool Enter(Window* w) {
  ControlObject* focused = FocusedControl(w);
  if (focused && IsTypedInto(focused)) {
    const LONG style = GetWindowLongA(focused->hwnd, GWL_STYLE);
    if ((style & ES_MULTILINE) && (style & ES_WANTRETURN)) return false;
    if (!TakeTypedEntry(focused)) return true;
  }
  ControlObject* button = focused && IsPushButton(focused) ? focused : DefaultButton(w);
  if (!button) return focused && IsTypedInto(focused);
  ControlPressed(button);
  return true;
}

// Esc without a control of its own closes a dialog window, as its close
// box does.
bool Escape(Window* w) {
  constexpr std::int32_t kFrameKind = 0x60, kDialogFrame = 0x40;
  if ((w->plan.frameFlags & kFrameKind) != kDialogFrame) return false;
  QueueEvent(w, kEventCloseWindow);
  return true;
}

// The arrows move the choice of an option group from radio to radio.
bool Arrow(Window* w, std::uint32_t key) {
  ControlObject* focused = FocusedControl(w);
  if (!focused || focused->plan.type != ControlType::Radio) return false;
  const std::vector<ControlObject*> radios = RadiosBeside(focused);
  const auto at = std::find(radios.begin(), radios.end(), focused);
  if (at == radios.end()) return false;
  const bool back = key == VK_UP || key == VK_LEFT;
  const std::size_t n = radios.size();
  const std::size_t index = static_cast<std::size_t>(at - radios.begin());
  Activate(radios[(index + (back ? n - 1 : 1)) % n]);
  return true;
}

// The letter after a single "&" of a text ("&&" is an ampersand), upper
// case, or 0.
char Mnemonic(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

bool HasMnemonic(const ControlObject* c) {
  switch (c->plan.type) {
    case ControlType::Prompt:
    case ControlType::Group:
    case ControlType::Option:
    case ControlType::Check:
    case ControlType::Radio: return true;
    case ControlType::Button: return IsPushButton(c);
    default: return false;
  }
}

// A letter of the controls' texts: one control with it is activated;
// among several, the focus moves to the next of them.
bool MnemonicKey(Window* w, std::uint32_t key) {
  std::vector<ControlObject*> matches;
  for (ControlObject* c : ByNumber(w)) {
    if (HasMnemonic(c) && Usable(c) && Mnemonic(c->plan.text) == static_cast<char>(key))
      matches.push_back(c);
  }
  if (matches.empty()) return false;
  if (matches.size() == 1) {
    Activate(matches.front());
    return true;
  }
  const ControlObject* focused = FocusedControl(w);
  const std::int32_t from = focused ? focused->plan.number : 0;
  const auto next = std::find_if(matches.begin(), matches.end(),
                                 [from](const ControlObject* c) { return c->plan.number > from; });
  ControlObject* chosen = next != matches.end() ? *next : matches.front();
  if (CanFocus(chosen)) {
    MoveFocus(chosen);
  } else if (ControlObject* after = NextStop(w, chosen->plan.number, false)) {
    MoveFocus(after);
  }
  return true;
}

// A letter alone is a mnemonic while the focus is on a control that takes
// no typing.
bool TakesLetters(const ControlObject* focused) {
  return !focused || IsTypedInto(focused) || focused->plan.type == ControlType::List ||
         focused->plan.type == ControlType::Sheet;
}

}  // namespace

bool DialogKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  Window* w = RuntimeWindowOf(msg.hwnd);
  if (!w || Waiting(w)) return false;
  const bool extended = (msg.lParam >> 24) & 1;
  const std::uint32_t code =
      ComposeKeyCode(static_cast<std::uint32_t>(msg.wParam), extended, CurrentModifiers());
  if (IsAlerted(w, code)) return false;
  const std::uint32_t key = ProgramKeyCode(code);
  const std::uint32_t vk = key & 0xFF;
  const std::uint32_t modifiers = key & (kKeyShift | kKeyCtrl | kKeyAlt);
  Slot(w->thread).keyCode = code;
  if (HotKey(w, key)) return true;
  const bool letter = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
  switch (modifiers) {
    case 0:
      if (vk == VK_TAB) return Tab(w, false);
      if (vk == VK_RETURN) return Enter(w);
      if (vk == VK_ESCAPE) return Escape(w);
      if (vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT) return Arrow(w, vk);
      if (letter && !TakesLetters(FocusedControl(w))) return MnemonicKey(w, vk);
      return false;
    case kKeyShift:
      if (vk == VK_TAB) return Tab(w, true);
      if (letter && !TakesLetters(FocusedControl(w))) return MnemonicKey(w, vk);
      return false;
    case kKeyAlt: return letter && MnemonicKey(w, vk);
    default: return false;
  }
}

void FocusFirstControl(Window* w) {
  if (!w->native || FocusedControl(w)) return;
  const std::vector<ControlObject*> stops = TabStops(w);
  if (!stops.empty()) MoveFocus(stops.front());
}

bool RestoreFocus(Window* w) {
  ControlObject* c = FindControl(w, w->focus);
  if (!c || !CanFocus(c)) return false;
  MoveFocus(c);
  return true;
}

void ShowDefaultButton(ControlObject* focused) {
  Window* w = focused->window;
  const ControlObject* marked = IsPushButton(focused) ? focused : DefaultButton(w);
  for (auto& c : w->native->controls) {
    if (!IsPushButton(c.get()) || !c->hwnd) continue;
    const LONG type = GetWindowLongA(c->hwnd, GWL_STYLE) & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) continue;
    const LONG wanted = c.get() == marked ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (type != wanted) SendMessageA(c->hwnd, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
  }
}

}  // namespace lumbra::internal

// Popup menus on Win32: the parsed text as a native popup menu, shown for
// an invisible "WexPopup" window that holds the focus while it is up.
#include "winrt/popup_menu.h"

#include <windows.h>

#include <mutex>
#include <vector>

#include "core/fixed_text.h"
#include "winrt/popup_menu_text.h"
#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra {

namespace {

constexpr const char* kPopupClass = "WexPopup";

void RegisterPopupClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kPopupClass;
    RegisterClassExA(&wc);
  });
}

// A native menu owned by one holder.
struct NativeMenu {
  HMENU handle = CreatePopupMenu();
  NativeMenu() = default;
  NativeMenu(const NativeMenu&) = delete;
  NativeMenu& operator=(const NativeMenu&) = delete;
  ~NativeMenu() {
    if (handle) DestroyMenu(handle);
  }
};

// Builds the native menu of the parsed entries, sub-menus before their
// contents as they come.
void Build(HMENU root, const std::vector<PopupEntry>& entries) {
  std::vector<HMENU> menus(entries.size(), nullptr);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PopupEntry& e = entries[i];
    HMENU into = e.parent < 0 ? root : menus[static_cast<std::size_t>(e.parent)];
    if (!into) continue;
    const UINT state = (e.disabled ? MF_GRAYED : MF_ENABLED) | (e.checked ? MF_CHECKED : 0);
    switch (e.kind) {
      case PopupEntryKind::Separator: AppendMenuA(into, MF_SEPARATOR, 0, nullptr); break;
      case PopupEntryKind::SubMenu:
        menus[i] = CreatePopupMenu();
        if (menus[i] && !AppendMenuA(into, MF_POPUP | MF_STRING | state,
                                     reinterpret_cast<UINT_PTR>(menus[i]), e.text.c_str())) {
          DestroyMenu(menus[i]);
          menus[i] = nullptr;
        }
        break;
      case PopupEntryKind::Item:
        AppendMenuA(into, MF_STRING | state, static_cast<UINT_PTR>(e.number), e.text.c_str());
        break;
    }
  }
}

// The invisible window the menu reports to: a child of the active window,
// or a top-level popup when there is none.
HWND CreateHolder() {
  RegisterPopupClass();
  Window* active = ActiveWindow();
  HWND owner = active && active->native ? active->native->hwnd : nullptr;
  return CreateWindowExA(owner ? 0 : WS_EX_TOOLWINDOW, kPopupClass, "", owner ? WS_CHILD : WS_POPUP,
                         0, 0, 0, 0, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

std::int32_t PopupMenu(std::string_view text, std::int32_t x, std::int32_t y) {
  NativeMenu menu;
  if (!menu.handle) return 0;
  Build(menu.handle, ParsePopupMenuText(ClipTrailingBlanks(text)));
  if (x == kPopupAtMouse || y == kPopupAtMouse) {
    POINT mouse = {0, 0};
    GetCursorPos(&mouse);
    if (x == kPopupAtMouse) x = mouse.x;
    if (y == kPopupAtMouse) y = mouse.y;
  }
  HWND previousFocus = GetFocus();
  HWND holder = CreateHolder();
  if (!holder) return 0;
  SetFocus(holder);
  // The menu's window takes the keyboard only while its thread has the
  // foreground.
  SetForegroundWindow(GetAncestor(holder, GA_ROOT));
  TrackPopupMenu(menu.handle, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, holder,
                 nullptr);
  // The chosen item's command was posted to the holder.
  std::int32_t chosen = 0;
  MSG msg;
  while (PeekMessageA(&msg, holder, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    if (msg.lParam == 0) chosen = static_cast<std::int32_t>(msg.wParam);
  }
  DestroyWindow(holder);
  if (previousFocus && IsWindow(previousFocus)) SetFocus(previousFocus);
  return chosen;
}

}  // namespace lumbra

// Drives the running viewer for the screenshot tour, one step per call:
// it posts a command or a click to the viewer's windows, waits until the
// window the step opens shows and its thread has painted, and prints the
// window's rectangle on the screen ("x y width height") for the picture.
//
//   tour_driver main                 the main window
//   tour_driver command N            menu command N of the main window
//   tour_driver bar N                a click on tool-bar button N
//   tour_driver popup                the right mouse button on the image
//   tour_driver window TITLE         waits for the window with the title
//   tour_driver menu                 waits for an open popup menu
//   tour_driver escape               Esc typed (closes a popup menu)
//   tour_driver close TITLE          closes the window and waits until it is gone
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr DWORD kPatience = 20000;

bool WaitFor(const std::function<bool()>& condition) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > kPatience) return false;
    Sleep(20);
  }
  return true;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct Search {
  const char* className;  // prefix
  const char* title;      // null: any
  HWND found;
};

BOOL CALLBACK Find(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(window) || ClassOf(window).rfind(s->className, 0) != 0) return TRUE;
  if (s->title) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (std::strcmp(text, s->title) != 0) return TRUE;
  }
  s->found = window;
  return FALSE;
}

HWND Shown(const char* className, const char* title) {
  Search s{className, title, nullptr};
  EnumWindows(Find, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND Wait(const char* className, const char* title) {
  HWND found = nullptr;
  WaitFor([&] { return (found = Shown(className, title)) != nullptr; });
  return found;
}

HWND MainWindow() { return Wait("WexWin", "Lumbra 1.0"); }

// Waits until the window's thread has taken everything queued so far, and
// once more after the painting that follows.
void Settle(HWND window) {
  for (int round = 0; round < 3; ++round) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, &result);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

int Report(HWND window) {
  if (!window) {
    std::fprintf(stderr, "no such window\n");
    return 1;
  }
  Settle(window);
  RECT r;
  GetWindowRect(window, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}

HWND ToolBarButton(HWND main, int number) {
  HWND bar = FindWindowExA(main, nullptr, "WexToolBar", nullptr);
  return bar ? GetDlgItem(bar, number) : nullptr;
}

void TypeEscape() {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string step = argv[1];
  const char* argument = argc > 2 ? argv[2] : nullptr;
  if (step == "main") return Report(MainWindow());
  if (step == "window" && argument) return Report(Wait("", argument));
  if (step == "menu") return Report(Wait("#32768", nullptr));
  if (step == "command" && argument) {
    HWND main = MainWindow();
    if (!main) return 1;
    PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(std::atoi(argument)), 0);
    return 0;
  }
  if (step == "bar" && argument) {
    HWND button = ToolBarButton(MainWindow(), std::atoi(argument));
    if (!button) return 1;
    SetForegroundWindow(GetAncestor(button, GA_ROOT));
    PostMessageA(button, BM_CLICK, 0, 0);
    return 0;
  }
  if (step == "popup") {
    HWND main = MainWindow();
    if (!main) return 1;
    SetForegroundWindow(main);
    RECT r;
    GetClientRect(main, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(main, WM_RBUTTONUP, 0, at);
    return 0;
  }
  if (step == "children" && argument) {
    HWND window = Wait("", argument);
    for (HWND c = window ? GetWindow(window, GW_CHILD) : nullptr; c;
         c = GetWindow(c, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(c, &r);
      std::printf("%d %s visible %d at %ld,%ld %ldx%ld\n", GetDlgCtrlID(c), ClassOf(c).c_str(),
                  IsWindowVisible(c) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    return 0;
  }
  if (step == "repaint" && argument) {
    HWND window = Wait("", argument);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return Report(window);
  }
  if (step == "escape") {
    TypeEscape();
    return WaitFor([] { return Shown("#32768", nullptr) == nullptr; }) ? 0 : 1;
  }
  if (step == "close" && argument) {
    HWND window = Wait("", argument);
    if (!window) return 1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }) ? 0 : 1;
  }
  std::fprintf(stderr, "unknown step %s\n", step.c_str());
  return 2;
}

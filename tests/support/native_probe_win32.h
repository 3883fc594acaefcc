// What tests use to look at real windows from outside: their class and
// text, the current folder, and polling with a deadline.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lumbra::probe {

// How long a test waits for something it expects of a window.
constexpr DWORD kPatience = 20000;

inline std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

inline std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

inline std::string TextOf(HWND window) {
  char text[MAX_PATH * 2] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Polls until the condition holds or the deadline passes.
inline bool WaitFor(const std::function<bool()>& condition, DWORD patience = kPatience) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > patience) return false;
    Sleep(20);
  }
  return true;
}

}  // namespace lumbra::probe

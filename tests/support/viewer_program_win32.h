// The real program as the tests and the benchmarks that run it meet it:
// the build's path of it as Windows names it, a copy of it in a folder of
// its own with the settings it starts with, its main window found among
// the process's windows, and keys typed into it as real input.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace lumbra::probe {

// The class of the viewer's main window.
inline constexpr const char* kViewerClass = "WexWin";

// A path of the build machine (from the build) as this process names it:
// reached through Wine's drive Z:.
inline std::string WindowsPath(const std::string& buildPath) {
  std::string path = buildPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path.rfind("\\", 0) == 0 ? "Z:" + path : path;
}

// Where a copy of the program stands in a folder (which ends in a
// backslash): LUMBRA.EXE, with its LUMBRA.INI landing beside it.
inline std::string ProgramCopyIn(const std::string& folder) { return folder + "LUMBRA.EXE"; }

// Copies the program (a path of the build) there; false when it could not.
inline bool CopyProgram(const std::string& program, const std::string& folder) {
  return CopyFileA(WindowsPath(program).c_str(), ProgramCopyIn(folder).c_str(), FALSE) != FALSE;
}

using Settings = std::initializer_list<std::pair<const char*, const char*>>;

// Settings written into a program's LUMBRA.INI before it starts.
inline void WriteSettings(const std::string& ini, Settings settings) {
  for (const auto& [key, value] : settings) {
    WritePrivateProfileStringA("Lumbra", key, value, ini.c_str());
  }
}

// The settings of a viewer that nobody answers: no welcome screen and no
// question on closing; then the others given.
inline void WriteQuietSettings(const std::string& ini, Settings others) {
  WriteSettings(ini, {{"ShowWelcomeScreen", "NO"}, {"PromptOnExit", "NO"}});
  WriteSettings(ini, others);
}

// A process's main window: its first visible top-level window without an
// owner whose class begins with the prefix given; null while there is none.
struct MainWindowSearch {
  DWORD process;
  std::string_view prefix;
  HWND found;
};
inline BOOL CALLBACK TestMainWindow(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<MainWindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) {
    return TRUE;
  }
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string_view(name).substr(0, s->prefix.size()) != s->prefix) return TRUE;
  s->found = window;
  return FALSE;
}
inline HWND MainWindowOfProcess(DWORD process, std::string_view classPrefix) {
  MainWindowSearch search{process, classPrefix, nullptr};
  EnumWindows(TestMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// One key going down or up, as real keyboard input.
inline INPUT KeyInput(WORD key, DWORD flags) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = key;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = flags;
  return in;
}

}  // namespace lumbra::probe

// A copy of the real lumbra.exe in a test's own folder, started with an
// argument text and driven from outside: its status zones read through its
// own memory, keys, commands, typed chords and dropped files sent to its
// window. A test target that includes this defines LUMBRA_PROGRAM.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <shlobj.h>

#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/codecs/test_images.h"
#include "tests/support/child_process_win32.h"
#include "tests/support/file_writer.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/viewer_program_win32.h"

namespace lumbra::probe {

// The settings of a quiet viewer in a 640 x 480 window that lists the
// folder of its image by name and warns of nothing; then the others given.
inline void WriteViewingSettings(const std::string& ini, Settings others = {}) {
  WriteQuietSettings(ini, {{"Maximized", "NO"},
                           {"Width", "640"},
                           {"Height", "480"},
                           {"AutoLoadDir", "YES"},
                           {"KeepImageSettings", "NO"},
                           {"DefaultSortOrder", "3"},
                           {"WarnBadImage", "NO"}});
  WriteSettings(ini, others);
}

// The program under test: the one this build made, or the one that
// LUMBRA_TEST_PROGRAM names (to run a test against another build).
inline std::string BuiltProgram() {
  const char* other = std::getenv("LUMBRA_TEST_PROGRAM");
  return WindowsPath(other && *other ? other : LUMBRA_PROGRAM);
}

inline void Write(const std::string& path, const testing::Bytes& bytes) {
  testing::WriteBytes(path, bytes);
}

// A copy of the built program in the folder given (which ends in a
// backslash); answers the copy's path.
inline std::string CopiedProgram(const std::string& folder) {
  CopyProgram(BuiltProgram(), folder);
  return ProgramCopyIn(folder);
}

// The viewer's main window once the program waits for its user; none when
// it never shows.
inline HWND MainWindowOf(const ChildProcess& process) {
  if (!process.Started()) return nullptr;
  WaitForInputIdle(process.Handle(), kPatience);
  HWND main = nullptr;
  WaitFor([&] { return (main = MainWindowOfProcess(process.Id(), kViewerClass)) != nullptr; });
  return main;
}

// A top-level window of the program by class and title: its message box,
// its popup menu.
struct OwnedSearch {
  DWORD process;
  const char* className;
  const char* title;
  HWND found;
};
inline BOOL CALLBACK FindOwned(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<OwnedSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s->process || !IsWindowVisible(window) ||
      (s->className && ClassOf(window) != s->className) ||
      (s->title && TextOf(window) != s->title)) {
    return TRUE;
  }
  s->found = window;
  return FALSE;
}

// The window that takes dropped files: the first child that accepts them.
inline BOOL CALLBACK FindDropTarget(HWND window, LPARAM data) {
  if (!(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) return TRUE;
  *reinterpret_cast<HWND*>(data) = window;
  return FALSE;
}

// A window of the program by its title, once it shows (null: it did not).
inline HWND Shown(const char* title) {
  HWND window = nullptr;
  WaitFor([&] { return (window = FindWindowA(nullptr, title)) && IsWindowVisible(window); });
  return window;
}

// The visible child of a window whose client area has the given size (the
// image control showing an image at its own size), once one shows; null
// when none does within the patience.
struct ClientSizeSearch {
  int width, height;
  HWND found;
};
inline BOOL CALLBACK TestClientSize(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<ClientSizeSearch*>(data);
  RECT r = {};
  GetClientRect(window, &r);
  if (!IsWindowVisible(window) || r.right != s->width || r.bottom != s->height) return TRUE;
  s->found = window;
  return FALSE;
}
inline HWND ChildOfClientSize(HWND parent, int width, int height) {
  ClientSizeSearch s{width, height, nullptr};
  WaitFor([&] {
    EnumChildWindows(parent, TestClientSize, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
  });
  return s.found;
}
// Whether the window with the title goes away.
inline bool Gone(const char* title) {
  return WaitFor([&] { return FindWindowA(nullptr, title) == nullptr; });
}
// A control's text as it answers WM_GETTEXT, which is carried across the
// process boundary (GetWindowText of another process's control reads only
// the caption stored by the system).
inline std::string AskText(HWND control) {
  char text[MAX_PATH * 2] = {};
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, kPatience, &result);
  return text;
}
inline void Press(HWND window, int button) {
  PostMessageA(GetDlgItem(window, button), BM_CLICK, 0, 0);
}

// A chord typed on the keyboard (modifiers first) into the window made
// foreground: real input, so that the program sees Shift and Ctrl held.
inline bool TypeInto(HWND window, std::initializer_list<WORD> chord) {
  SetForegroundWindow(window);
  if (!WaitFor([&] { return GetForegroundWindow() == window; })) return false;
  std::vector<INPUT> input;
  for (WORD key : chord) input.push_back(KeyInput(key, 0));
  for (auto key = std::rbegin(chord); key != std::rend(chord); ++key) {
    input.push_back(KeyInput(*key, KEYEVENTF_KEYUP));
  }
  return SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)) == input.size();
}

// A real click of the left mouse button in the middle of a window.
inline bool ClickOn(HWND window) {
  RECT r = {};
  if (!GetWindowRect(window, &r)) return false;
  const LONG width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT input[3] = {};
  for (INPUT& in : input) {
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv((r.left + r.right) / 2, 65535, width);
    in.mi.dy = MulDiv((r.top + r.bottom) / 2, 65535, height);
  }
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  return SendInput(3, input, sizeof(INPUT)) == 3;
}

// One copy of the program in the test's own folder, started with an
// argument text and ended when the test is done.
class RunningViewer {
 public:
  RunningViewer(const std::string& folder, const std::string& arguments)
      : process_(CopiedProgram(folder), arguments, folder),
        main_(MainWindowOf(process_)),
        bar_(FindWindowExA(main_, nullptr, STATUSCLASSNAMEA, nullptr)) {}

  HWND main() const { return main_; }

  // A status zone's text, read through the program's own memory.
  std::string Zone(int zone) const {
    if (!bar_) return "<no status bar>";
    constexpr SIZE_T kRoom = 1024;
    void* remote = VirtualAllocEx(process_.Handle(), nullptr, kRoom, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return "<no memory>";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(bar_, SB_GETTEXTA, static_cast<WPARAM>(zone - 1),
                        reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, kPatience, &result);
    char text[kRoom] = {};
    ReadProcessMemory(process_.Handle(), remote, text, kRoom - 1, nullptr);
    VirtualFreeEx(process_.Handle(), remote, 0, MEM_RELEASE);
    return text;
  }
  bool ZoneBecomes(int zone, const std::string& text) const {
    return WaitFor([&] { return Zone(zone) == text; });
  }

  // The rectangle a control answers to a message, read through the
  // program's own memory (a tab's place on its sheet).
  RECT RemoteRect(HWND control, UINT message, WPARAM item) const {
    RECT r = {};
    void* remote = VirtualAllocEx(process_.Handle(), nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return r;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, message, item, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                        kPatience, &result);
    ReadProcessMemory(process_.Handle(), remote, &r, sizeof r, nullptr);
    VirtualFreeEx(process_.Handle(), remote, 0, MEM_RELEASE);
    return r;
  }

  void Key(WPARAM key) const { PostMessageA(main_, WM_KEYDOWN, key, 1); }
  void Command(int item) const { PostMessageA(main_, WM_COMMAND, static_cast<WPARAM>(item), 0); }
  bool Ends() const { return process_.Ends(); }
  // The program's exit code once it has ended (STILL_ACTIVE before).
  DWORD ExitCode() const { return process_.ExitCode(); }
  // Whether the window's thread has come back to its message loop: a
  // message sent to it is answered only there, so whatever the event
  // being handled had still to do is done.
  bool Answers() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, &result) != 0;
  }
  bool Running() const { return process_.Running(); }

  // A chord typed into the main window.
  bool Type(std::initializer_list<WORD> chord) const { return TypeInto(main_, chord); }

  // A visible top-level window of the program (class and title optional).
  HWND Owned(const char* className, const char* title = nullptr) const {
    OwnedSearch s{process_.Id(), className, title, nullptr};
    EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }

  // Files dropped on the window as a file manager drops them: a DROPFILES
  // block of ANSI names, each ended by a NUL and the list by one more,
  // posted to the window that takes them. A global handle means nothing in
  // another process and Wine does not carry a posted WM_DROPFILES block
  // across, so the block is written into the program's own memory, where
  // its address serves as a fixed global block. It lasts as long as the
  // program.
  bool Drop(const std::vector<std::string>& paths) const {
    HWND target = nullptr;
    EnumChildWindows(main_, FindDropTarget, reinterpret_cast<LPARAM>(&target));
    if (!target) return false;
    DROPFILES header = {};
    header.pFiles = sizeof header;
    header.pt = {10, 10};
    header.fNC = FALSE;
    header.fWide = FALSE;
    std::vector<char> block(reinterpret_cast<const char*>(&header),
                            reinterpret_cast<const char*>(&header + 1));
    for (const std::string& path : paths)
      block.insert(block.end(), path.c_str(), path.c_str() + path.size() + 1);
    block.push_back('\0');
    void* remote =
        VirtualAllocEx(process_.Handle(), nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
    return remote &&
           WriteProcessMemory(process_.Handle(), remote, block.data(), block.size(), nullptr) &&
           PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  }

 private:
  ChildProcess process_;
  HWND main_;
  HWND bar_;
};

}  // namespace lumbra::probe

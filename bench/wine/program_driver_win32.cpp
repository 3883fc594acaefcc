#include "bench/wine/program_driver_win32.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace lumbra::bench {

namespace {

// The viewer's image control, by its control number.
constexpr int kImageControl = 64;
// How far each channel may stray from the expected colour. The marks are
// saturated primaries and secondaries, at least 255 apart in some channel.
constexpr int kColourSlack = 48;

std::string Hex(COLORREF colour) {
  if (colour == CLR_INVALID) return "none";
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
  return text;
}

struct Search {
  DWORD process;
  const std::string* mainClass;
  HWND found;
};

BOOL CALLBACK FindMain(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window) ||
      GetWindow(window, GW_OWNER) != nullptr) {
    return TRUE;
  }
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name).rfind(*search->mainClass, 0) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The processes started and not yet ended: a failing benchmark ends them
// before it exits, so that none outlives it (holding its output open).
std::vector<HANDLE>& LiveProcesses() {
  static std::vector<HANDLE> processes;
  return processes;
}

}  // namespace

double Now() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Fail(const std::string& what) {
  for (HANDLE process : LiveProcesses()) TerminateProcess(process, 1);
  std::fflush(stdout);
  std::printf("FAILED: %s\n", what.c_str());
  std::fprintf(stderr, "FAILED: %s\n", what.c_str());
  std::fflush(nullptr);
  std::exit(1);
}

std::string WindowsPath(const std::string& buildPath) {
  std::string path = buildPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path.rfind("\\", 0) == 0 ? "Z:" + path : path;
}

std::string BenchFolder(const std::string& name) {
  char base[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, base);
  const std::string folder = std::string(base) + "\\" + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Fail("cannot create the folder " + folder);
  }
  return folder;
}

RunningProgram::RunningProgram(const std::string& program, const std::string& arguments,
                               const std::string& folder, const std::string& mainClass)
    : mainClass_(mainClass) {
  std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startedAt_ = Now();
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info_)) {
    Fail("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
  }
  LiveProcesses().push_back(info_.hProcess);
}

RunningProgram::~RunningProgram() {
  End();
  std::erase(LiveProcesses(), info_.hProcess);
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool RunningProgram::Running() const {
  return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND RunningProgram::MainWindow() {
  if (main_ && IsWindow(main_)) return main_;
  Search search{info_.dwProcessId, &mainClass_, nullptr};
  EnumWindows(FindMain, reinterpret_cast<LPARAM>(&search));
  return main_ = search.found;
}

HWND RunningProgram::WaitForMainWindow(const std::string& what) {
  const double deadline = Now() + kPatience;
  while (!MainWindow()) {
    if (!Running()) Fail(what + ": the program ended before it showed a window");
    if (Now() > deadline)
      Fail(what + ": no window within " + std::to_string(static_cast<int>(kPatience)) + " s");
    Sleep(1);
  }
  return main_;
}

MemoryCounters RunningProgram::Memory() const {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(info_.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    Fail("cannot read the memory counters (error " + std::to_string(GetLastError()) + ")");
  }
  // Windows counts the private bytes (the commit charge) twice, as
  // PrivateUsage and as PagefileUsage; for another process Wine fills in
  // only the second.
  return {counters.PeakWorkingSetSize,
          counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage};
}

void RunningProgram::End() {
  if (Running()) TerminateProcess(info_.hProcess, 1);
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kPatience * 1000)) != WAIT_OBJECT_0) {
    Fail("a program did not end when terminated");
  }
  main_ = nullptr;
}

std::string ViewerCopy(const std::string& builtProgram, const std::string& folder,
                       bool autoLoadFolder) {
  const std::string program = folder + "LUMBRA.EXE";
  if (!CopyFileA(WindowsPath(builtProgram).c_str(), program.c_str(), FALSE)) {
    Fail("cannot copy " + builtProgram + " to " + program);
  }
  const std::string ini = folder + "LUMBRA.INI";
  for (const auto& [key, value] : {std::pair{"ShowWelcomeScreen", "NO"},
                                   {"PromptOnExit", "NO"},
                                   {"WarnBadImage", "NO"},
                                   {"Maximized", "NO"},
                                   {"XPos", "0"},
                                   {"YPos", "0"},
                                   {"Width", "640"},
                                   {"Height", "480"},
                                   {"DefaultImageMode", "1"},
                                   {"KeepImageSettings", "NO"},
                                   {"DefaultSortOrder", "3"},
                                   {"UseLongFileNames", "YES"},
                                   {"AutoLoadDir", autoLoadFolder ? "YES" : "NO"}}) {
    WritePrivateProfileStringA("Lumbra", key, value, ini.c_str());
  }
  return program;
}

HWND ViewerImage(HWND main) { return main ? GetDlgItem(main, kImageControl) : nullptr; }

bool CloseTo(COLORREF seen, COLORREF expected) {
  auto within = [](int a, int b) { return a - b <= kColourSlack && b - a <= kColourSlack; };
  return within(GetRValue(seen), GetRValue(expected)) &&
         within(GetGValue(seen), GetGValue(expected)) &&
         within(GetBValue(seen), GetBValue(expected));
}

COLORREF ScreenColourAt(HWND window, POINT at) {
  if (!window || !IsWindowVisible(window) || !ClientToScreen(window, &at)) return CLR_INVALID;
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

double WaitForColour(const std::function<HWND()>& window, POINT at, COLORREF expected,
                     const std::string& what) {
  const double deadline = Now() + kPatience;
  for (;;) {
    const COLORREF seen = ScreenColourAt(window(), at);
    const double now = Now();
    if (seen != CLR_INVALID && CloseTo(seen, expected)) return now;
    if (now > deadline) {
      Fail(what + ": the expected colour " + Hex(expected) + " never showed within " +
           std::to_string(static_cast<int>(kPatience)) + " s (last seen: " + Hex(seen) + ")");
    }
    Sleep(1);
  }
}

void WaitUntilScreenClears(POINT screenPoint, COLORREF colour) {
  const double deadline = Now() + kPatience;
  for (;;) {
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, screenPoint.x, screenPoint.y);
    ReleaseDC(nullptr, screen);
    if (!CloseTo(seen, colour)) return;
    if (Now() > deadline) Fail("the window of an ended program stayed on the screen");
    Sleep(5);
  }
}

double TypeKey(HWND window, WORD key) {
  const double deadline = Now() + kPatience;
  while (GetForegroundWindow() != window) {
    SetForegroundWindow(window);
    if (Now() > deadline) Fail("the viewer's window never came to the foreground");
    Sleep(5);
  }
  INPUT input[2] = {};
  for (INPUT& in : input) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  const double typed = Now();
  if (SendInput(2, input, sizeof(INPUT)) != 2) Fail("the key could not be typed");
  return typed;
}

}  // namespace lumbra::bench

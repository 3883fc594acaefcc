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
    : mainClass_(mainClass), startedAt_(Now()), process_(program, arguments, folder) {
  if (!process_.Started()) {
    Fail("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
  }
  LiveProcesses().push_back(process_.Handle());
}

RunningProgram::~RunningProgram() {
  End();
  std::erase(LiveProcesses(), process_.Handle());
}

bool RunningProgram::Running() const { return process_.Running(); }

HWND RunningProgram::MainWindow() {
  if (main_ && IsWindow(main_)) return main_;
  return main_ = probe::MainWindowOfProcess(process_.Id(), mainClass_);
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
  if (!GetProcessMemoryInfo(process_.Handle(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
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
  if (Running()) TerminateProcess(process_.Handle(), 1);
  if (!process_.Ends(static_cast<DWORD>(kPatience * 1000))) {
    Fail("a program did not end when terminated");
  }
  main_ = nullptr;
}

std::string ViewerCopy(const std::string& builtProgram, const std::string& folder,
                       bool autoLoadFolder) {
  const std::string program = probe::ProgramCopyIn(folder);
  if (!probe::CopyProgram(builtProgram, folder)) {
    Fail("cannot copy " + builtProgram + " to " + program);
  }
  probe::WriteQuietSettings(folder + "LUMBRA.INI",
                            {{"WarnBadImage", "NO"},
                             {"Maximized", "NO"},
                             {"XPos", "0"},
                             {"YPos", "0"},
                             {"Width", "640"},
                             {"Height", "480"},
                             {"DefaultImageMode", "1"},
                             {"KeepImageSettings", "NO"},
                             {"DefaultSortOrder", "3"},
                             {"UseLongFileNames", "YES"},
                             {"AutoLoadDir", autoLoadFolder ? "YES" : "NO"}});
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
  const double begun = Now(), deadline = begun + kPatience;
  for (;;) {
    const COLORREF seen = ScreenColourAt(window(), at);
    const double now = Now();
    if (seen != CLR_INVALID && CloseTo(seen, expected)) return now;
    if (now > deadline) {
      Fail(what + ": the expected colour " + Hex(expected) + " never showed within " +
           std::to_string(static_cast<int>(kPatience)) + " s (last seen: " + Hex(seen) + ")");
    }
    Sleep(LookPause(now - begun));
  }
}

DWORD LookPause(double waited) { return waited < 0.050 ? 1 : 5; }

namespace {
DWORD WINAPI WatchScreen(void* stop) {
  const double begun = Now();
  do {
    ScreenColourAt(GetDesktopWindow(), POINT{0, 0});
  } while (WaitForSingleObject(stop, LookPause(Now() - begun)) == WAIT_TIMEOUT);
  return 0;
}
}  // namespace

ScreenWatch::ScreenWatch()
    : stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, WatchScreen, stop_, 0, nullptr)) {
  if (!stop_ || !thread_) Fail("cannot start the thread that watches the screen");
}

ScreenWatch::~ScreenWatch() {
  SetEvent(stop_);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  CloseHandle(stop_);
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
  INPUT input[2] = {probe::KeyInput(key, 0), probe::KeyInput(key, KEYEVENTF_KEYUP)};
  const double typed = Now();
  if (SendInput(2, input, sizeof(INPUT)) != 2) Fail("the key could not be typed");
  return typed;
}

}  // namespace lumbra::bench

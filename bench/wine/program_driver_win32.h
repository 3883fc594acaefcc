// What the viewer benchmarks use to drive a program from outside, as its
// user meets it, on the tests' driver of the real program: the process
// started on a command line, its main window found, the colour of a point
// of it read off the screen, keys typed into it, its memory counters read.
// Every wait has a deadline; a benchmark that misses one fails loudly
// instead of hanging.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

#include "tests/support/child_process_win32.h"
#include "tests/support/viewer_program_win32.h"

namespace lumbra::bench {

// Seconds on the benchmarks' clock (the performance counter).
double Now();

// How long a benchmark waits for anything it expects of a program.
constexpr double kPatience = 60.0;

// Prints the failure as one line on both outputs and ends the benchmark
// with exit code 1.
[[noreturn]] void Fail(const std::string& what);

// A path of the build machine (from the build) as this process names it.
using probe::WindowsPath;

// A folder inside the current one, created when missing; ends in "\".
std::string BenchFolder(const std::string& name);

// What GetProcessMemoryInfo tells of a process: its peak working set, and
// its private bytes now.
struct MemoryCounters {
  std::size_t peakWorkingSet = 0;
  std::size_t privateBytes = 0;
};

// One program started with an argument text in a folder, ended (if still
// running) when the object goes. Its main window is the first visible
// top-level window of the process without an owner whose class begins
// with mainClass.
class RunningProgram {
 public:
  RunningProgram(const std::string& program, const std::string& arguments,
                 const std::string& folder, const std::string& mainClass);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // The clock just before the process was created.
  double startedAt() const { return startedAt_; }
  bool Running() const;

  // The main window; nullptr while there is none.
  HWND MainWindow();
  // Waits for it (fails at the deadline).
  HWND WaitForMainWindow(const std::string& what);

  MemoryCounters Memory() const;

  // Ends the process and waits until it is gone.
  void End();

 private:
  std::string mainClass_;
  double startedAt_ = 0;
  probe::ChildProcess process_;
  HWND main_ = nullptr;
};

// A copy of the built viewer in a folder of its own (its LUMBRA.INI lands
// beside it) with the settings the benchmarks run it with: no welcome
// screen and no closing question, a 640 x 480 window at the top left of
// the screen, Normal mode, the list sorted by name. With autoLoadFolder,
// starting on a file makes its folder the image list. Gives the copy's
// path.
std::string ViewerCopy(const std::string& builtProgram, const std::string& folder,
                       bool autoLoadFolder);

// The class of the viewer's main window.
using probe::kViewerClass;

// The viewer's image control inside its main window (nullptr before it
// exists).
HWND ViewerImage(HWND main);

// Whether a colour read off the screen is the expected one, allowing for
// what lossy coding and 8-bit quantization do to a flat block.
bool CloseTo(COLORREF seen, COLORREF expected);

// The colour on the screen at a point of a window's client area, or
// CLR_INVALID while the window is not there or not visible.
COLORREF ScreenColourAt(HWND window, POINT at);

// The pause between two looks at the screen, after a wait of so many
// seconds: every millisecond for the first 50 ms, every 5 ms after.
DWORD LookPause(double waited);

// While it lives, a thread of this process looks at the screen as a wait
// for a colour does. Each look keeps the X server and the Wine server busy
// for a moment, on the cores the program watched needs: a decode timed
// under a watch is timed as a program's decode is while its pixels are
// waited for.
class ScreenWatch {
 public:
  ScreenWatch();
  ~ScreenWatch();
  ScreenWatch(const ScreenWatch&) = delete;
  ScreenWatch& operator=(const ScreenWatch&) = delete;

 private:
  HANDLE stop_;
  HANDLE thread_;
};

// Polls the screen until the colour shows at the point of the window that
// window() gives (asked at every poll, as the window may not exist yet),
// and gives the clock at the poll that saw it. Fails at the deadline,
// naming what was awaited and the colour seen last.
double WaitForColour(const std::function<HWND()>& window, POINT at, COLORREF expected,
                     const std::string& what);

// Waits until the colour no longer shows at a point of the screen: after a
// program ends, its window is gone before the next measurement starts.
void WaitUntilScreenClears(POINT screenPoint, COLORREF colour);

// Types one key (down and up) into the window, made foreground first, as
// real keyboard input. Gives the clock just before the key went down.
double TypeKey(HWND window, WORD key);

}  // namespace lumbra::bench

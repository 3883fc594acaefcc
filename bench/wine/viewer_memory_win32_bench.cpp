// The real viewer's memory viewing one 4000 x 3000 JPEG, against its empty
// window (lumbra.exe started without an argument): the peak working set
// and the private bytes of the process, read from outside with
// GetProcessMemoryInfo once the image (or "Image Not Loaded") shows. The
// aim for what the image adds: at most 1.3 times its 12 MB of 8-bit pixels
// plus 8 MB.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "bench/wine/bench_figures.h"
#include "bench/wine/bench_images_win32.h"
#include "bench/wine/program_driver_win32.h"

namespace {

using namespace lumbra::bench;

constexpr int kRounds = 3;
constexpr double kGrowthAim = 1.3 * 12e6 + 8e6;
// How long the program is left after it shows what it was started on, so
// that what it does once idle is counted too.
constexpr DWORD kSettle = 500;

struct Figures {
  double peakWorkingSet;
  double privateBytes;
};

template <typename Shown>
Figures Measure(const std::string& viewer, const std::string& folder, const std::string& arguments,
                Shown shown) {
  std::vector<double> peaks, privates;
  for (int round = 0; round < kRounds; ++round) {
    RunningProgram program(viewer, arguments, folder, kViewerClass);
    shown(program);
    Sleep(kSettle);
    const MemoryCounters counters = program.Memory();
    peaks.push_back(static_cast<double>(counters.peakWorkingSet));
    privates.push_back(static_cast<double>(counters.privateBytes));
  }
  return {Median(peaks), Median(privates)};
}

}  // namespace

int main() {
  const std::string folder = BenchFolder("viewer memory program");
  const std::string viewer = ViewerCopy(LUMBRA_PROGRAM, folder, false);
  const BenchImage photo = WriteLonePhoto();

  const Figures empty = Measure(viewer, folder, "", [](RunningProgram& program) {
    HWND main = program.WaitForMainWindow("the viewer started without an image");
    const double deadline = Now() + kPatience;
    for (;;) {
      HWND text = FindWindowExA(main, nullptr, nullptr, "Image Not Loaded");
      if (text && IsWindowVisible(text)) return;
      if (Now() > deadline) Fail("the empty viewer never showed \"Image Not Loaded\"");
      Sleep(5);
    }
  });
  const Figures viewing =
      Measure(viewer, folder, "\"" + photo.path + "\"", [&](RunningProgram& program) {
        WaitForColour([&] { return ViewerImage(program.MainWindow()); }, kMarkPoint, photo.mark,
                      "the viewer starting on " + photo.path);
      });

  std::printf(
      "memory: empty window peak working set %.1f MB, private %.1f MB; viewing the "
      "JPEG %.1f MB, %.1f MB\n",
      empty.peakWorkingSet / 1e6, empty.privateBytes / 1e6, viewing.peakWorkingSet / 1e6,
      viewing.privateBytes / 1e6);
  const std::string name = "memory, JPEG 4000x3000";
  MemoryRow(name + ": peak working set", viewing.peakWorkingSet, "empty window",
            empty.peakWorkingSet);
  MemoryAimRow(name + ": peak working set - empty, aim <= 1.3x12+8 MB",
               viewing.peakWorkingSet - empty.peakWorkingSet, kGrowthAim);
  MemoryRow(name + ": private bytes", viewing.privateBytes, "empty window", empty.privateBytes);
  MemoryAimRow(name + ": private bytes - empty, aim <= 1.3x12+8 MB",
               viewing.privateBytes - empty.privateBytes, kGrowthAim);
  return 0;
}

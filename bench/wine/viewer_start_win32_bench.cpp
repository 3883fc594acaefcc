// Start-up of the real viewer: lumbra.exe started on an image given on its
// command line, timed from the creation of its process until the image's
// mark shows on the screen, for a small GIF and a 4000 x 3000 JPEG. The
// floor is paint_floor.exe, started the same way and timed the same way:
// it paints the same picture, handed to it already decoded. The decode of
// the image alone is timed in this process. What the viewer adds to floor
// and decode is its overhead. The three are timed in turns, and each
// figure is the best of its rounds (medians are printed too).
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "bench/wine/bench_figures.h"
#include "bench/wine/bench_images_win32.h"
#include "bench/wine/decode_time.h"
#include "bench/wine/floor_picture_win32.h"
#include "bench/wine/program_driver_win32.h"

namespace {

using namespace lumbra::bench;

constexpr int kRounds = 7;
constexpr double kOverheadAim = 0.050;
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;

// Seconds from the process's creation to the mark on the screen, where
// imageWindow finds the window that shows the picture inside the main
// window. The program is ended and its window gone from the screen after.
double StartToMark(RunningProgram& program, const std::function<HWND(HWND)>& imageWindow,
                   const BenchImage& image, const std::string& what) {
  const double seen = WaitForColour([&] { return imageWindow(program.MainWindow()); }, kMarkPoint,
                                    image.mark, what);
  POINT onScreen = kMarkPoint;
  ClientToScreen(imageWindow(program.MainWindow()), &onScreen);
  program.End();
  WaitUntilScreenClears(onScreen, image.mark);
  return seen - program.startedAt();
}

struct Sample {
  const char* label;
  BenchImage image;
};

void Measure(const Sample& sample, const std::string& viewer, const std::string& viewerFolder,
             const std::string& floor) {
  const std::string floorFolder = viewerFolder;
  const std::string mapping = FloorPictureName(0);
  FloorPicture picture(sample.image.path, sample.image.mark, mapping);
  const std::string floorArguments =
      mapping + " " + std::to_string(kClientWidth) + " " + std::to_string(kClientHeight);

  auto viewerStart = [&] {
    RunningProgram program(viewer, "\"" + sample.image.path + "\"", viewerFolder, kViewerClass);
    return StartToMark(program, ViewerImage, sample.image,
                       std::string("the viewer starting on the ") + sample.label);
  };
  auto floorStart = [&] {
    RunningProgram program(floor, floorArguments, floorFolder, "LumbraPaintFloor");
    return StartToMark(
        program, [](HWND main) { return main; }, sample.image,
        std::string("the paint floor showing the ") + sample.label);
  };

  // A first start of each warms the file cache; then they take turns.
  viewerStart();
  floorStart();
  DecodeSeconds(sample.image.path);
  std::vector<double> viewerTimes, floorTimes, decodeTimes;
  for (int round = 0; round < kRounds; ++round) {
    viewerTimes.push_back(viewerStart());
    floorTimes.push_back(floorStart());
    decodeTimes.push_back(DecodeSeconds(sample.image.path));
  }
  std::printf("start-up, %s, each round (ms):", sample.label);
  for (int round = 0; round < kRounds; ++round) {
    std::printf(" Lumbra %.0f floor %.0f decode %.1f;", viewerTimes[round] * 1e3,
                floorTimes[round] * 1e3, decodeTimes[round] * 1e3);
  }
  std::printf("\n");
  const double lumbra = Best(viewerTimes), paint = Best(floorTimes), decode = Best(decodeTimes),
               overhead = lumbra - paint - decode;
  std::printf(
      "start-up, %s, best of %d: Lumbra %.1f ms, floor %.1f ms, decode %.1f ms, "
      "overhead %.1f ms; medians %.1f, %.1f, %.1f ms\n",
      sample.label, kRounds, lumbra * 1e3, paint * 1e3, decode * 1e3, overhead * 1e3,
      Median(viewerTimes) * 1e3, Median(floorTimes) * 1e3, Median(decodeTimes) * 1e3);
  const std::string name =
      std::string("start-up, ") + sample.label + " (best of " + std::to_string(kRounds) + ")";
  TableRow(name + ": to pixels", lumbra, "paint floor", paint);
  TableRow(name + ": decode alone", decode, "Lumbra start-up", lumbra);
  AimRow(name + ": Lumbra - floor - decode, aim <= 50 ms", overhead, kOverheadAim);
}

}  // namespace

int main() {
  const std::string viewerFolder = BenchFolder("viewer start program");
  const std::string viewer = ViewerCopy(LUMBRA_PROGRAM, viewerFolder, false);
  const std::string floor = WindowsPath(LUMBRA_PAINT_FLOOR);
  const Sample samples[] = {{"GIF 200x150", WriteLoneGif()}, {"JPEG 4000x3000", WriteLonePhoto()}};
  for (const Sample& sample : samples) Measure(sample, viewer, viewerFolder, floor);
  return 0;
}

// Stepping through a folder in the real viewer: Space (Next) typed into
// lumbra.exe, timed until the next image's mark shows on the screen, over
// a folder of 50 JPEGs of 4000 x 3000 and a folder of 500 small images of
// mixed formats. Each folder is stepped through twice: with background
// decoding turned off (LUMBRA_PREFETCH=0) and with it on (the variable
// unset). With it on, the driver waits between steps well beyond the
// folder's median decode, so that the next image has been decoded by the
// time its key is typed; with it off, briefly. The peer of each
// step is the decode of the image stepped to, alone, in this process, and
// the stepping floor: paint_floor.exe holding three of the folder's images
// decoded, stepped with the same key and read off the screen the same way,
// which is what the key, the detector and one paint cost. Each step's
// figure is then Lumbra - floor - decode.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
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

constexpr double kOverheadAim = 0.020;    // without background decoding: floor + decode + 20 ms
constexpr double kPrefetchedAim = 0.015;  // decoded in the background: floor + 15 ms
constexpr int kFloorPictures = 3;
constexpr int kFloorSteps = 30;
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;

struct Folder {
  const char* label;
  std::vector<BenchImage> images;
  std::vector<double> decodes;  // of each image alone
  std::vector<double> watched;  // of each image while the screen is watched
  double pause = 0;             // between steps with background decoding
  double floor = 0;             // the stepping floor's median step
};

// The pause between steps without background decoding.
constexpr double kShortPause = 0.050;

// Each image's decode alone (after one that warms the file cache), and the
// pause between steps with background decoding: twice the median decode
// and the short pause.
void TimeDecodes(Folder& folder) {
  DecodeSeconds(folder.images.front().path);
  for (const BenchImage& image : folder.images) {
    folder.decodes.push_back(DecodeSeconds(image.path));
    folder.watched.push_back(WatchedDecodeSeconds(image.path));
  }
  folder.pause = Median(folder.decodes) * 2 + kShortPause;
}

// The seconds of every step from the first image to the last.
std::vector<double> StepThrough(const Folder& folder, const std::string& viewer,
                                const std::string& viewerFolder, bool prefetch) {
  SetEnvironmentVariableA("LUMBRA_PREFETCH", prefetch ? nullptr : "0");
  const std::vector<BenchImage>& images = folder.images;
  RunningProgram program(viewer, "\"" + images.front().path + "\"", viewerFolder, kViewerClass);
  auto image = [&] { return ViewerImage(program.MainWindow()); };
  WaitForColour(image, kMarkPoint, images.front().mark,
                "the viewer starting on " + images.front().path);
  std::vector<double> steps;
  for (std::size_t i = 1; i < images.size(); ++i) {
    Sleep(static_cast<DWORD>((prefetch ? folder.pause : kShortPause) * 1000));
    const double typed = TypeKey(program.MainWindow(), VK_SPACE);
    const double seen =
        WaitForColour(image, kMarkPoint, images[i].mark, "the step to " + images[i].path);
    steps.push_back(seen - typed);
  }
  return steps;
}

// The stepping floor's median step over the folder's first images, handed
// to it decoded.
double FloorStep(const Folder& folder, const std::string& floor, const std::string& floorFolder) {
  std::vector<std::unique_ptr<FloorPicture>> pictures;
  std::string arguments;
  for (int n = 0; n < kFloorPictures; ++n) {
    const BenchImage& image = folder.images[static_cast<std::size_t>(n)];
    pictures.push_back(std::make_unique<FloorPicture>(image.path, image.mark, FloorPictureName(n)));
    arguments += FloorPictureName(n) +
                 (n == 0 ? " " + std::to_string(kClientWidth) + " " + std::to_string(kClientHeight)
                         : std::string()) +
                 " ";
  }
  RunningProgram program(floor, arguments, floorFolder, "LumbraPaintFloor");
  auto window = [&] { return program.MainWindow(); };
  WaitForColour(window, kMarkPoint, folder.images.front().mark, "the stepping floor starting");
  std::vector<double> steps;
  for (int i = 1; i <= kFloorSteps; ++i) {
    Sleep(static_cast<DWORD>(kShortPause * 1000));
    const double typed = TypeKey(program.MainWindow(), VK_SPACE);
    const BenchImage& next = folder.images[static_cast<std::size_t>(i % kFloorPictures)];
    steps.push_back(WaitForColour(window, kMarkPoint, next.mark, "the stepping floor's step") -
                    typed);
  }
  std::printf("stepping floor, %s: median %.1f ms, p95 %.1f ms over %d steps\n", folder.label,
              Median(steps) * 1e3, Percentile(steps, 0.95) * 1e3, kFloorSteps);
  return Median(steps);
}

void Report(const Folder& folder, bool prefetch, const std::vector<double>& steps) {
  // The decode of each image stepped to, and what each step took beyond
  // the floor and it (beyond the floor alone for images decoded ahead).
  // The viewer decodes while its screen is watched for the new image, so
  // its decode is taken as timed under a watch.
  const std::vector<double> decodes(folder.decodes.begin() + 1, folder.decodes.end());
  const std::vector<double> watched(folder.watched.begin() + 1, folder.watched.end());
  std::vector<double> beyond;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    beyond.push_back(steps[i] - folder.floor - (prefetch ? 0 : watched[i]));
  }
  const double median = Median(steps), p95 = Percentile(steps, 0.95);
  std::printf(
      "step, %s, prefetch %s: median %.1f ms, p95 %.1f ms; floor %.1f ms; decode median %.1f ms, "
      "p95 %.1f ms, watched %.1f ms; median step - floor%s %.1f ms (pause %.0f ms)\n",
      folder.label, prefetch ? "on" : "off", median * 1e3, p95 * 1e3, folder.floor * 1e3,
      Median(decodes) * 1e3, Percentile(decodes, 0.95) * 1e3, Median(watched) * 1e3,
      prefetch ? "" : " - watched decode", Median(beyond) * 1e3,
      (prefetch ? folder.pause : kShortPause) * 1e3);
  const std::string name =
      std::string("step, ") + folder.label + ", prefetch " + (prefetch ? "on" : "off");
  TableRow(name + ": median", median, "decode median", Median(decodes));
  TableRow(name + ": median", median, "stepping floor", folder.floor);
  TableRow(name + ": 95th percentile", p95, "decode p95", Percentile(decodes, 0.95));
  if (!prefetch) {
    AimRow(name + ": median - floor - watched decode, aim <= 20 ms", Median(beyond), kOverheadAim);
  } else {
    AimRow(name + ": median - floor, aim <= 15 ms", Median(beyond), kPrefetchedAim);
  }
}

}  // namespace

int main() {
  const std::string viewerFolder = BenchFolder("viewer step program");
  const std::string viewer = ViewerCopy(LUMBRA_PROGRAM, viewerFolder, true);
  const std::string floor = WindowsPath(LUMBRA_PAINT_FLOOR);
  Folder folders[] = {{"50 JPEGs 4000x3000", WritePhotoFolder(50), {}, {}},
                      {"500 small mixed", WriteMixedFolder(500), {}, {}}};
  for (Folder& folder : folders) {
    TimeDecodes(folder);
    folder.floor = FloorStep(folder, floor, viewerFolder);
    for (bool prefetch : {false, true})
      Report(folder, prefetch, StepThrough(folder, viewer, viewerFolder, prefetch));
  }
  return 0;
}

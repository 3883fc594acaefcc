// Stepping through a folder in the real viewer: Space (Next) typed into
// lumbra.exe, timed until the next image's mark shows on the screen, over
// a folder of 50 JPEGs of 4000 x 3000 and a folder of 500 small images of
// mixed formats. Each folder is stepped through twice: with background
// decoding turned off (LUMBRA_PREFETCH=0) and with it on (the variable
// unset). With it on, the driver waits between steps well beyond the
// folder's median decode, so that the next image has been decoded by the
// time its key is typed; with it off, briefly. The peer of each
// step is the decode of the image stepped to, alone, in this process.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "bench/wine/bench_figures.h"
#include "bench/wine/bench_images.h"
#include "bench/wine/decode_time.h"
#include "bench/wine/program_driver.h"

namespace {

using namespace lumbra::bench;

constexpr double kOverheadAim = 0.020;    // without background decoding: decode + 20 ms
constexpr double kPrefetchedAim = 0.030;  // a large JPEG decoded in the background

struct Folder {
  const char* label;
  std::vector<BenchImage> images;
  std::vector<double> decodes;  // of each image alone
  bool large;                   // the prefetched aim holds for large images
  double pause = 0;             // between steps with background decoding
};

// The pause between steps without background decoding.
constexpr double kShortPause = 0.050;

// Each image's decode alone (after one that warms the file cache), and the
// pause between steps with background decoding: twice the median decode
// and the short pause.
void TimeDecodes(Folder& folder) {
  DecodeSeconds(folder.images.front().path);
  for (const BenchImage& image : folder.images) folder.decodes.push_back(DecodeSeconds(image.path));
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

void Report(const Folder& folder, bool prefetch, const std::vector<double>& steps) {
  // The decode of each image stepped to, and what each step took beyond it.
  const std::vector<double> decodes(folder.decodes.begin() + 1, folder.decodes.end());
  std::vector<double> beyond;
  for (std::size_t i = 0; i < steps.size(); ++i) beyond.push_back(steps[i] - decodes[i]);
  const double median = Median(steps), p95 = Percentile(steps, 0.95);
  std::printf(
      "step, %s, prefetch %s: median %.1f ms, p95 %.1f ms; decode median %.1f ms, "
      "p95 %.1f ms; median step - decode %.1f ms (pause %.0f ms)\n",
      folder.label, prefetch ? "on" : "off", median * 1e3, p95 * 1e3, Median(decodes) * 1e3,
      Percentile(decodes, 0.95) * 1e3, Median(beyond) * 1e3,
      (prefetch ? folder.pause : kShortPause) * 1e3);
  const std::string name =
      std::string("step, ") + folder.label + ", prefetch " + (prefetch ? "on" : "off");
  TableRow(name + ": median", median, "decode median", Median(decodes));
  TableRow(name + ": 95th percentile", p95, "decode p95", Percentile(decodes, 0.95));
  if (!prefetch) {
    AimRow(name + ": median - decode, aim <= 20 ms", Median(beyond), kOverheadAim);
  } else if (folder.large) {
    AimRow(name + ": median, aim <= 30 ms", median, kPrefetchedAim);
  }
}

}  // namespace

int main() {
  const std::string viewerFolder = BenchFolder("viewer step program");
  const std::string viewer = ViewerCopy(LUMBRA_PROGRAM, viewerFolder, true);
  Folder folders[] = {{"50 JPEGs 4000x3000", WritePhotoFolder(50), {}, true},
                      {"500 small mixed", WriteMixedFolder(500), {}, false}};
  for (Folder& folder : folders) {
    TimeDecodes(folder);
    for (bool prefetch : {false, true})
      Report(folder, prefetch, StepThrough(folder, viewer, viewerFolder, prefetch));
  }
  return 0;
}

// JPEG decode to an 8-bit DecodedImage against libjpeg-turbo's own
// "djpeg -colors 256 -bmp", on the same bytes in the same run: a 4000x3000
// colour photo and a grey one. Both sides decode with the library's
// default settings (integer DCT, Floyd-Steinberg dithering, two-pass
// quantization for colour). For the grey file "-colors 256" makes djpeg
// dither it to 256 levels, which the viewer does not do, so the grey photo
// is also timed against plain "djpeg -bmp", whose output is the viewer's:
// an 8-bit BMP with the grey ramp.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "codecs/jpeg_decompress.h"
#include "tests/codecs/jpeg_fixture.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 5;

// A photo-like picture: smooth shapes, edges and grain.
lumbra::test::Rgb PhotoPixel(int x, int y) {
  const double u = x / 4000.0, v = y / 3000.0;
  const double sky = 0.5 + 0.5 * std::sin(u * 9.0 + std::cos(v * 7.0) * 2.0);
  const double hill = v > 0.55 + 0.1 * std::sin(u * 13.0) ? 1.0 : 0.0;
  const unsigned grain =
      (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) >> 27;
  auto channel = [&](double base) {
    return static_cast<std::uint8_t>(std::clamp(base * 230.0 + grain, 0.0, 255.0));
  };
  return {channel(hill ? 0.3 * sky : sky), channel(hill ? 0.6 : 0.7 * sky),
          channel(hill ? 0.2 : 1.0 - 0.4 * sky)};
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double TimeOurs(const std::vector<std::uint8_t>& jpeg) {
  double best = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    const auto start = Clock::now();
    const auto block = lumbra::DecodeJpegImage(jpeg, false);
    const double t = Seconds(Clock::now() - start);
    if (!block) {
      std::fprintf(stderr, "decode failed\n");
      std::exit(1);
    }
    best = std::min(best, t);
  }
  return best;
}

double TimeDjpeg(const std::string& path, bool quantize) {
  double best = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    std::vector<std::string> args{"djpeg", "-colors", "256", "-bmp", "-outfile", "/dev/null", path};
    if (!quantize) args.erase(args.begin() + 1, args.begin() + 3);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, argv.data(), environ) != 0) {
      std::fprintf(stderr, "cannot run djpeg (libjpeg-turbo-progs)\n");
      std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    best = std::min(best, Seconds(Clock::now() - start));
  }
  return best;
}

void Compare(const char* label, int components) {
  lumbra::test::JpegPicture picture;
  picture.width = 4000;
  picture.height = 3000;
  picture.components = components;
  picture.pixel = PhotoPixel;
  const auto jpeg = lumbra::test::MakeJpeg(picture);
  const std::string path = std::string("/tmp/lumbra_bench_") + label + ".jpg";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));

  const double ours = TimeOurs(jpeg);
  const double peer = TimeDjpeg(path, true);
  std::printf(
      "jpeg %-6s 4000x3000 (%zu bytes): lumbra %.1f ms, djpeg -colors 256 -bmp %.1f ms, "
      "ratio %.2f\n",
      label, jpeg.size(), ours * 1e3, peer * 1e3, ours / peer);
  lumbra::bench::TableRow(std::string("jpeg: ") + label + " 4000x3000 to 256 colours", ours,
                          "djpeg -colors 256", peer);
  if (components == 1) {
    const double plain = TimeDjpeg(path, false);
    std::printf("jpeg %-6s 4000x3000: lumbra %.1f ms, djpeg -bmp %.1f ms, ratio %.2f\n", label,
                ours * 1e3, plain * 1e3, ours / plain);
    lumbra::bench::TableRow(std::string("jpeg: ") + label + " 4000x3000", ours, "djpeg", plain);
  }
  std::remove(path.c_str());
}

}  // namespace

int main() {
  Compare("colour", 3);
  Compare("grey", 1);
  return 0;
}

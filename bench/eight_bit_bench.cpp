// The 24-bit to 8-bit conversion of a 4000 x 3000 photo-like image against
// libimagequant at its fastest speed (10, no dithering), on the same
// pixels in the same run: both times, their ratio, and the PSNR of each
// result against the original.
#include <libimagequant.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "codecs/decoded_image.h"
#include "display/colour_collector.h"
#include "display/eight_bit_conversion.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kRounds = 3;

// Smooth light with texture and grain, as photographs have.
std::vector<std::uint8_t> MakePhoto() {
  const std::uint32_t stride = lumbra::RowStride(kWidth, 24);
  std::vector<std::uint8_t> bmp(54 + std::size_t{stride} * kHeight, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  lumbra::WriteU32(bmp.data() + 2, static_cast<std::uint32_t>(bmp.size()));
  lumbra::WriteU32(bmp.data() + 10, 54);
  lumbra::BitmapInfoHeader h;
  h.width = kWidth;
  h.height = kHeight;
  h.bitCount = 24;
  lumbra::WriteInfoHeader(bmp.data() + 14, h);
  std::mt19937 random(11);
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* row = bmp.data() + 54 + std::size_t{stride} * (kHeight - 1 - y);
    for (int x = 0; x < kWidth; ++x) {
      const double sky = 1.0 - y / double(kHeight);
      const double wave = std::sin(x * 0.004) * std::cos(y * 0.006);
      const int grain = static_cast<int>(random() % 13) - 6;
      auto clamp = [](double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); };
      row[3 * x] = clamp(90 + 140 * sky + 30 * wave + grain);                      // blue
      row[3 * x + 1] = clamp(60 + 90 * sky + 70 * wave + grain + x * 0.01);        // green
      row[3 * x + 2] = clamp(40 + 60 * (1 - sky) + 50 * wave + grain + y * 0.02);  // red
    }
  }
  return bmp;
}

template <typename F>
double Best(F run) {
  double best = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    const auto start = Clock::now();
    run();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// PSNR over the three components; colour(i) gives the result's pixel i.
template <typename F>
double Psnr(const std::vector<std::uint8_t>& rgb, F colour) {
  double squares = 0;
  for (std::size_t i = 0; i < std::size_t{kWidth} * kHeight; ++i) {
    const std::uint8_t* want = &rgb[3 * i];
    const std::uint8_t* got = colour(i);
    for (int k = 0; k < 3; ++k) squares += double(want[k] - got[k]) * (want[k] - got[k]);
  }
  const double mse = squares / (3.0 * kWidth * kHeight);
  return 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace

int main() {
  const std::vector<std::uint8_t> bmp = MakePhoto();
  const std::uint32_t stride = lumbra::RowStride(kWidth, 24);
  // The same pixels top-down as RGB and RGBA for the peer and the PSNR.
  std::vector<std::uint8_t> rgb(std::size_t{kWidth} * kHeight * 3);
  std::vector<std::uint8_t> rgba(std::size_t{kWidth} * kHeight * 4);
  for (int y = 0; y < kHeight; ++y) {
    const std::uint8_t* row = bmp.data() + 54 + std::size_t{stride} * (kHeight - 1 - y);
    for (int x = 0; x < kWidth; ++x) {
      const std::size_t i = std::size_t{kWidth} * y + x;
      for (int k = 0; k < 3; ++k) rgb[3 * i + k] = rgba[4 * i + k] = row[3 * x + 2 - k];
      rgba[4 * i + 3] = 255;
    }
  }

  lumbra::ColourCollector collector;
  std::vector<std::uint8_t> ours;
  const double oursTime = Best([&] { ours = *lumbra::ConvertTo8Bit(bmp, collector); });
  const std::uint8_t* table = ours.data() + 54;
  const std::uint8_t* indices = ours.data() + 54 + 1024;
  std::uint8_t pixel[3];
  const double oursPsnr = Psnr(rgb, [&](std::size_t i) {
    const std::size_t y = i / kWidth;
    const std::size_t x = i % kWidth;
    const std::uint8_t* e = table + 4 * indices[(kHeight - 1 - y) * std::size_t(kWidth) + x];
    pixel[0] = e[2];
    pixel[1] = e[1];
    pixel[2] = e[0];
    return pixel;
  });

  std::vector<std::uint8_t> theirs(std::size_t{kWidth} * kHeight);
  liq_palette palette = {};
  const double theirTime = Best([&] {
    liq_attr* attr = liq_attr_create();
    liq_set_speed(attr, 10);
    liq_image* image = liq_image_create_rgba(attr, rgba.data(), kWidth, kHeight, 0);
    liq_result* result = nullptr;
    if (liq_image_quantize(image, attr, &result) == LIQ_OK) {
      liq_set_dithering_level(result, 0);
      liq_write_remapped_image(result, image, theirs.data(), theirs.size());
      palette = *liq_get_palette(result);
      liq_result_destroy(result);
    }
    liq_image_destroy(image);
    liq_attr_destroy(attr);
  });
  const double theirPsnr = Psnr(rgb, [&](std::size_t i) {
    const liq_color& c = palette.entries[theirs[i]];
    pixel[0] = c.r;
    pixel[1] = c.g;
    pixel[2] = c.b;
    return pixel;
  });

  std::printf("24-bit to 8-bit conversion of a %dx%d photo, best of %d rounds\n", kWidth, kHeight,
              kRounds);
  std::printf("lumbra        %7.1f ms  %3u colours  PSNR %5.2f dB\n", oursTime * 1000,
              lumbra::ReadInfoHeader(ours.data() + 14).clrImportant, oursPsnr);
  std::printf("libimagequant %7.1f ms  %3u colours  PSNR %5.2f dB  (speed 10, no dithering)\n",
              theirTime * 1000, palette.count, theirPsnr);
  std::printf("ratio (libimagequant time / lumbra time, > 1: lumbra faster): %.2f\n",
              theirTime / oursTime);
  return 0;
}

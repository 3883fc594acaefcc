// Painting a 4000 x 3000 8-bit image stretched into 1024 x 768 through the
// image classes, against a bare StretchDIBits of the same bits in the same
// run (the overhead of the paint path). A Windows program: run it under
// Wine.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "codecs/decoded_image.h"
#include "images/image_format_registry.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kRounds = 5;

template <typename F>
double Best(F run) {
  double best = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    const auto start = Clock::now();
    run();
    GdiFlush();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main() {
  const std::uint32_t stride = lumbra::RowStride(kWidth, 8);
  std::vector<std::uint8_t> bmp(54 + 1024 + std::size_t{stride} * kHeight);
  bmp[0] = 'B';
  bmp[1] = 'M';
  lumbra::WriteU32(bmp.data() + 2, static_cast<std::uint32_t>(bmp.size()));
  lumbra::WriteU32(bmp.data() + 10, 54 + 1024);
  lumbra::BitmapInfoHeader h;
  h.width = kWidth;
  h.height = kHeight;
  h.bitCount = 8;
  lumbra::WriteInfoHeader(bmp.data() + 14, h);
  for (int i = 0; i < 256; ++i) {
    bmp[54 + 4 * i] = static_cast<std::uint8_t>(i);
    bmp[55 + 4 * i] = static_cast<std::uint8_t>(255 - i);
    bmp[56 + 4 * i] = static_cast<std::uint8_t>(i * 7);
  }
  for (std::size_t i = 0; i < std::size_t{stride} * kHeight; ++i) {
    bmp[1078 + i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
  }
  lumbra::ImagePtr image = lumbra::LoadImageFromMemory(
      nullptr, bmp.data(), static_cast<std::uint32_t>(bmp.size()), lumbra::kPlaceStretched);
  if (!image) return 1;

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 1024, 768);
  HGDIOBJ old = SelectObject(dc, target);
  const double ours = Best([&] {
    image->DrawInRectangle(0, dc, lumbra::ImageRect{0, 0, 1024, 768});
  });
  const double bare = Best([&] {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, 1024, 768, 0, 0, kWidth, kHeight, bmp.data() + 1078,
                  reinterpret_cast<const BITMAPINFO*>(bmp.data() + 14), DIB_RGB_COLORS, SRCCOPY);
  });
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  std::printf("Painting a %dx%d 8-bit image stretched into 1024x768, best of %d rounds\n", kWidth,
              kHeight, kRounds);
  std::printf(
      "lumbra paint path %7.1f ms, bare StretchDIBits %7.1f ms, ratio %.2f (1: no overhead)\n",
      ours * 1000, bare * 1000, ours / bare);
  return 0;
}

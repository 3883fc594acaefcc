// What the screen shows of a window or control: its client area read back
// from the screen itself, as a person would see it, whichever process
// painted it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <set>
#include <vector>

namespace lumbra::probe {

class ScreenPixels {
 public:
  explicit ScreenPixels(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    width_ = client.right;
    height_ = client.bottom;
    if (width_ <= 0 || height_ <= 0) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
      HGDIOBJ old = SelectObject(memory, dib);
      BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
      GdiFlush();
      const auto* quads = static_cast<const std::uint32_t*>(bits);
      pixels_.assign(quads, quads + static_cast<std::size_t>(width_) * height_);
      SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }

  int width() const { return width_; }
  int height() const { return height_; }
  // The colour at a point of the client area (CLR_INVALID outside it).
  COLORREF At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || pixels_.empty()) return CLR_INVALID;
    const std::uint32_t quad = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((quad >> 16) & 0xFF, (quad >> 8) & 0xFF, quad & 0xFF);
  }
  std::set<COLORREF> Colours() const {
    std::set<COLORREF> colours;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) colours.insert(At(x, y));
    }
    return colours;
  }
  // Nothing drawn: an empty area, or one of a single colour.
  bool Blank() const { return Colours().size() <= 1; }
  bool Shows(COLORREF colour) const { return Colours().count(colour) > 0; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

}  // namespace lumbra::probe

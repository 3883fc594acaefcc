// Capturing what a window or control paints, for pixel checks.
#pragma once

#include <windows.h>

#include <set>

namespace lumbra {

// What a window or control paints, captured into a bitmap of its client
// size: background first, then the client painting.
class Capture {
 public:
  explicit Capture(HWND hwnd) {
    GetClientRect(hwnd, &rect_);
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, rect_.right, rect_.bottom);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_), 0);
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
  }
  ~Capture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  // The colours inside the control's edge.
  std::set<COLORREF> Inside() const {
    std::set<COLORREF> colours;
    for (int y = 2; y < rect_.bottom - 2; ++y) {
      for (int x = 2; x < rect_.right - 2; ++x) colours.insert(At(x, y));
    }
    return colours;
  }
  const RECT& rect() const { return rect_; }

 private:
  RECT rect_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

}  // namespace lumbra

// Painting, picture handles and clipboard copies of bitmap images.
#include <windows.h>

#include "codecs/bitmap_image.h"
#include "codecs/decoded_image.h"
#include "codecs/dib_output.h"

namespace lumbra {

namespace {

// Keeps the palette device context's palette but forces it to the
// background while the bitmap is painted.
class BackgroundPaletteScope {
 public:
  explicit BackgroundPaletteScope(HDC paletteDc) : dc_(paletteDc) {
    if (dc_ == nullptr) return;
    saved_ = SaveDC(dc_);
    HPALETTE current =
        SelectPalette(dc_, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
    SelectPalette(dc_, current, TRUE);
  }
  ~BackgroundPaletteScope() {
    if (dc_ != nullptr && saved_ != 0) RestoreDC(dc_, -1);
  }
  BackgroundPaletteScope(const BackgroundPaletteScope&) = delete;
  BackgroundPaletteScope& operator=(const BackgroundPaletteScope&) = delete;

 private:
  HDC dc_;
  int saved_ = 0;
};

}  // namespace

void BitmapImage::Paint(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
                        std::int32_t height, NativeDc paletteDc) {
  const auto layout = CheckDecodedImage(PaintedBytes());
  if (!layout) return;
  BackgroundPaletteScope palette(paletteDc);
  SetStretchBltMode(dc, COLORONCOLOR);
  PaintDibLayout(dc, x, y, width, height, *layout, SRCCOPY);
}

bool BitmapImage::GetHandle(PictureHandle& out) {
  const auto layout = CheckDecodedImage(PaintedBytes());
  if (!layout || !layout->complete()) return false;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(
      screen, reinterpret_cast<const BITMAPINFOHEADER*>(layout->info), CBM_INIT, layout->bits,
      reinterpret_cast<const BITMAPINFO*>(layout->info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (bitmap == nullptr) return false;
  out.kind = 1;
  out.handle = bitmap;
  out.palette = nullptr;
  return true;
}

void BitmapImage::CopyToClipboard(NativeWindow window) {
  if (flags_ & SizeOnly) return;
  const std::span<const std::uint8_t> painted = PaintedBytes();
  // Only a bitmap whose parts all lie inside its bytes goes out: whoever
  // pastes it will trust its header.
  const auto layout = CheckDecodedImage(painted);
  if (!layout || !layout->complete()) return;
  PutDibOnClipboard(window, painted.subspan(kFileHeaderSize));
}

bool LogicalPixelsPerInch(NativeDc dc, std::int32_t& x, std::int32_t& y) {
  if (dc == nullptr) return false;
  x = GetDeviceCaps(dc, LOGPIXELSX);
  y = GetDeviceCaps(dc, LOGPIXELSY);
  return x > 0 && y > 0;
}

}  // namespace lumbra

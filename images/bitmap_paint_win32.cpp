// Painting bitmap images, and their picture handles.
#include <windows.h>

#include "codecs/decoded_image.h"
#include "core/gdi_tally_win32.h"
#include "display/dib_paint_win32.h"
#include "images/bitmap_image.h"
#include "images/tile_paint_win32.h"

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

// Many tiles go through memory; everything else draws as every image does.
void BitmapImage::DrawInRectangle(std::uint32_t drawState, NativeDc dc, const ImageRect& rect) {
  auto paintArea = [&](const RECT& area) {
    const std::uintptr_t saved = BeginDrawing(drawState);
    const bool painted = PaintTiledArea(dc, {area.left, area.top, area.right, area.bottom});
    EndDrawing(drawState, saved);
    return painted;
  };
  if (!TileThroughMemory(dc, flags_, rect, width_, height_, paintArea)) {
    ImageObject::DrawInRectangle(drawState, dc, rect);
  }
}

bool BitmapImage::PaintTiledArea(NativeDc dc, const ImageRect& area) {
  return PaintTileLayer(
      dc, {area.left, area.top, area.right, area.bottom}, width_, height_,
      [&](HDC layer) { Paint(layer, 0, 0, width_, height_, layer); }, SRCCOPY);
}

bool BitmapImage::GetHandle(PictureHandle& out) {
  const auto layout = CheckDecodedImage(PaintedBytes());
  if (!layout || !layout->complete()) return false;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = gdi_tally::Made(CreateDIBitmap(
      screen, reinterpret_cast<const BITMAPINFOHEADER*>(layout->info), CBM_INIT, layout->bits,
      reinterpret_cast<const BITMAPINFO*>(layout->info), DIB_RGB_COLORS));
  ReleaseDC(nullptr, screen);
  if (bitmap == nullptr) return false;
  out.kind = 1;
  out.handle = bitmap;
  out.palette = nullptr;
  return true;
}

}  // namespace lumbra

// Painting GIF frames, plain or with a transparent colour.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "codecs/decoded_image.h"
#include "codecs/gdi_tally_win32.h"
#include "codecs/gif_image.h"
#include "display/dib_paint_win32.h"

namespace lumbra {

namespace {

// Paints the frame with transparent pixels keeping what hdc shows: opaque
// pixels are cut out with a mask table (SRCAND) and filled with the real
// colours (SRCPAINT) in a memory copy of the destination.
void PaintTransparent(HDC dc, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height, std::int32_t transparent, std::uint8_t* frame,
                      const DibLayout& layout) {
  HDC memory = gdi_tally::Made(CreateCompatibleDC(dc));
  if (memory == nullptr) return;
  HBITMAP bitmap = gdi_tally::Made(CreateCompatibleBitmap(dc, width, height));
  if (bitmap == nullptr) {
    gdi_tally::DeleteDc(memory);
    return;
  }
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  HPALETTE palette =
      SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  SelectPalette(dc, palette, FALSE);
  SelectPalette(memory, palette, FALSE);
  RealizePalette(memory);
  SetMapMode(memory, GetMapMode(dc));
  SetStretchBltMode(memory, COLORONCOLOR);
  BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);

  std::uint8_t* table = frame + kInfoHeaderSize;
  std::array<std::uint8_t, 1024> saved;
  std::copy_n(table, saved.size(), saved.begin());
  std::uint8_t* entry = table + 4 * transparent;
  std::fill_n(table, 1024, 0);
  entry[0] = entry[1] = entry[2] = 255;
  PaintDibLayout(memory, 0, 0, width, height, layout, SRCAND);
  std::copy(saved.begin(), saved.end(), table);
  entry[0] = entry[1] = entry[2] = 0;
  PaintDibLayout(memory, 0, 0, width, height, layout, SRCPAINT);
  BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
  std::copy_n(saved.begin() + 4 * transparent, 4, entry);

  SelectObject(memory, oldBitmap);
  gdi_tally::Delete(bitmap);
  gdi_tally::DeleteDc(memory);
}

}  // namespace

void GifImage::Paint(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
                     std::int32_t height, NativeDc paletteDc) {
  if ((flags_ & SizeOnly) || frame_.empty()) return;
  const auto layout = FrameLayout();
  if (!layout) return;
  const int saved = paletteDc != nullptr ? SaveDC(paletteDc) : 0;
  if (paletteDc != nullptr) {
    HPALETTE current =
        SelectPalette(paletteDc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
    SelectPalette(paletteDc, current, TRUE);
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  if (deviceUnits_ || transparent_ < 0 || transparent_ > 255) {
    PaintDibLayout(dc, x, y, width, height, *layout, SRCCOPY);
  } else if (width > 0 && height > 0) {
    PaintTransparent(dc, x, y, width, height, transparent_, frame_.data(), *layout);
  }
  if (saved != 0) RestoreDC(paletteDc, -1);
}

}  // namespace lumbra

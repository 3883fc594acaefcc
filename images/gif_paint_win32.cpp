// Painting GIF frames, plain or with a transparent colour.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "codecs/decoded_image.h"
#include "display/dib_paint_win32.h"
#include "images/gif_image.h"
#include "images/tile_paint_win32.h"

namespace lumbra {

namespace {

// The frame's colour table set for one step of transparent painting, and
// put back when the step is done: the mask (every colour black, the
// transparent one white) for SRCAND, or the colours with the transparent
// one black for SRCPAINT.
class TransparentStep {
 public:
  enum Kind { kMask, kColours };
  TransparentStep(std::uint8_t* frame, std::int32_t transparent, Kind kind)
      : table_(frame + kInfoHeaderSize) {
    std::copy_n(table_, saved_.size(), saved_.begin());
    if (kind == kMask) std::fill_n(table_, saved_.size(), 0);
    std::uint8_t* entry = table_ + 4 * transparent;
    entry[0] = entry[1] = entry[2] = kind == kMask ? 255 : 0;
  }
  ~TransparentStep() { std::copy(saved_.begin(), saved_.end(), table_); }
  TransparentStep(const TransparentStep&) = delete;
  TransparentStep& operator=(const TransparentStep&) = delete;

 private:
  std::uint8_t* table_;
  std::array<std::uint8_t, 1024> saved_;
};

// Paints the frame with transparent pixels keeping what hdc shows: opaque
// pixels are cut out with the mask (SRCAND) and filled with the real
// colours (SRCPAINT) in a memory copy of the destination.
void PaintTransparent(HDC dc, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height, std::int32_t transparent, std::uint8_t* frame,
                      const DibLayout& layout) {
  HPALETTE palette =
      SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  SelectPalette(dc, palette, FALSE);
  MemoryCanvas memory(dc, width, height);
  if (!memory) return;
  SetMapMode(memory.dc(), GetMapMode(dc));
  SetStretchBltMode(memory.dc(), COLORONCOLOR);
  BitBlt(memory.dc(), 0, 0, width, height, dc, x, y, SRCCOPY);
  {
    TransparentStep mask(frame, transparent, TransparentStep::kMask);
    PaintDibLayout(memory.dc(), 0, 0, width, height, layout, SRCAND);
  }
  {
    TransparentStep colours(frame, transparent, TransparentStep::kColours);
    PaintDibLayout(memory.dc(), 0, 0, width, height, layout, SRCPAINT);
  }
  BitBlt(dc, x, y, width, height, memory.dc(), 0, 0, SRCCOPY);
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

// Many transparent tiles: the frame's mask and colours tiled through memory.
bool GifImage::PaintTiledArea(NativeDc dc, const ImageRect& area) {
  if (deviceUnits_ || transparent_ < 0 || transparent_ > 255) {
    return BitmapImage::PaintTiledArea(dc, area);
  }
  const auto layout = FrameLayout();
  if (frame_.empty() || !layout) return true;
  auto tile = [&](TransparentStep::Kind kind) {
    return [this, kind, &layout](HDC layer) {
      TransparentStep step(frame_.data(), transparent_, kind);
      SetStretchBltMode(layer, COLORONCOLOR);
      PaintDibLayout(layer, 0, 0, width_, height_, *layout, SRCCOPY);
    };
  };
  return PaintMaskedTiles(dc, {area.left, area.top, area.right, area.bottom}, width_, height_,
                          tile(TransparentStep::kMask), tile(TransparentStep::kColours));
}

}  // namespace lumbra

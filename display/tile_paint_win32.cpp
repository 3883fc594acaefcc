// Tiling through memory: one tile, doubled across and down, copied once.
#include "display/tile_paint_win32.h"

#include <algorithm>

#include "codecs/gdi_tally_win32.h"

namespace lumbra {

namespace {

// Up to this many tiles are painted one by one onto the device.
constexpr std::int64_t kFewTiles = 64;

std::int64_t TilesAlong(std::int64_t length, std::int32_t tile) {
  return (length + tile - 1) / tile;
}

}  // namespace

bool ManyTiles(const ImageRect& rect, std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return false;
  const std::int64_t across = TilesAlong(std::int64_t{rect.right} - rect.left, width);
  const std::int64_t down = TilesAlong(std::int64_t{rect.bottom} - rect.top, height);
  return across > 0 && down > 0 && across * down > kFewTiles;
}

std::optional<RECT> VisibleTiles(HDC dc, const ImageRect& rect, std::int32_t width,
                                 std::int32_t height) {
  const RECT whole = {rect.left, rect.top, rect.right, rect.bottom};
  RECT clip;
  const int kind = GetClipBox(dc, &clip);
  if (kind == NULLREGION) return std::nullopt;
  RECT visible = whole;
  if (kind != ERROR && !IntersectRect(&visible, &whole, &clip)) return std::nullopt;
  if (IsRectEmpty(&visible)) return std::nullopt;
  visible.left = rect.left + (visible.left - rect.left) / width * width;
  visible.top = rect.top + (visible.top - rect.top) / height * height;
  return visible;
}

MemoryCanvas::MemoryCanvas(HDC target, std::int32_t width, std::int32_t height) {
  dc_ = gdi_tally::Made(CreateCompatibleDC(target));
  if (dc_ == nullptr) return;
  bitmap_ = gdi_tally::Made(CreateCompatibleBitmap(target, width, height));
  if (bitmap_ == nullptr) return;
  oldBitmap_ = SelectObject(dc_, bitmap_);
  if (auto palette = static_cast<HPALETTE>(GetCurrentObject(target, OBJ_PAL))) {
    SelectPalette(dc_, palette, TRUE);
    RealizePalette(dc_);
  }
}

MemoryCanvas::~MemoryCanvas() {
  if (oldBitmap_ != nullptr) SelectObject(dc_, oldBitmap_);
  if (bitmap_ != nullptr) gdi_tally::Delete(bitmap_);
  if (dc_ != nullptr) gdi_tally::DeleteDc(dc_);
}

bool PaintTileLayer(HDC dc, const RECT& area, std::int32_t width, std::int32_t height,
                    const std::function<void(HDC)>& paintTile, DWORD rop) {
  const std::int32_t areaWidth = area.right - area.left;
  const std::int32_t areaHeight = area.bottom - area.top;
  MemoryCanvas layer(dc, areaWidth, areaHeight);
  if (!layer) return false;
  paintTile(layer.dc());
  // Each copy takes everything done so far, so the done part doubles.
  const std::int32_t rowHeight = std::min(height, areaHeight);
  for (std::int64_t done = width; done < areaWidth; done *= 2) {
    const auto at = static_cast<std::int32_t>(done);
    BitBlt(layer.dc(), at, 0, std::min(at, areaWidth - at), rowHeight, layer.dc(), 0, 0, SRCCOPY);
  }
  for (std::int64_t done = height; done < areaHeight; done *= 2) {
    const auto at = static_cast<std::int32_t>(done);
    BitBlt(layer.dc(), 0, at, areaWidth, std::min(at, areaHeight - at), layer.dc(), 0, 0, SRCCOPY);
  }
  BitBlt(dc, area.left, area.top, areaWidth, areaHeight, layer.dc(), 0, 0, rop);
  return true;
}

}  // namespace lumbra

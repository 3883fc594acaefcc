// Tiling through memory: one tile, doubled across and down, copied once.
#include "images/tile_paint_win32.h"

#include <algorithm>

#include "core/gdi_tally_win32.h"

namespace lumbra {

namespace {

// Up to this many tiles are painted one by one onto the device.
constexpr std::int64_t kFewTiles = 64;

std::int64_t TilesAlong(std::int64_t length, std::int32_t tile) {
  return (length + tile - 1) / tile;
}

}  // namespace

bool TileThroughMemory(HDC dc, ImageLoadFlags flags, const ImageRect& rect, std::int32_t width,
                       std::int32_t height, const std::function<bool(const RECT&)>& paintArea) {
  if ((flags & SizeOnly) || (flags & kPlacementMask) != kPlaceTiled || width <= 0 || height <= 0 ||
      GetMapMode(dc) != MM_TEXT) {
    return false;
  }
  const std::int64_t across = TilesAlong(std::int64_t{rect.right} - rect.left, width);
  const std::int64_t down = TilesAlong(std::int64_t{rect.bottom} - rect.top, height);
  if (across <= 0 || down <= 0 || across * down <= kFewTiles) return false;

  const RECT whole = {rect.left, rect.top, rect.right, rect.bottom};
  RECT clip;
  const int kind = GetClipBox(dc, &clip);
  if (kind == NULLREGION) return true;
  RECT area = whole;
  if (kind != ERROR && !IntersectRect(&area, &whole, &clip)) return true;
  area.left = rect.left + (area.left - rect.left) / width * width;
  area.top = rect.top + (area.top - rect.top) / height * height;
  return paintArea(area);
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

bool PaintMaskedTiles(HDC dc, const RECT& area, std::int32_t width, std::int32_t height,
                      const std::function<void(HDC)>& paintMask,
                      const std::function<void(HDC)>& paintColours) {
  const std::int32_t areaWidth = area.right - area.left;
  const std::int32_t areaHeight = area.bottom - area.top;
  MemoryCanvas copy(dc, areaWidth, areaHeight);
  if (!copy) return false;
  BitBlt(copy.dc(), 0, 0, areaWidth, areaHeight, dc, area.left, area.top, SRCCOPY);
  const RECT whole = {0, 0, areaWidth, areaHeight};
  if (!PaintTileLayer(copy.dc(), whole, width, height, paintMask, SRCAND) ||
      !PaintTileLayer(copy.dc(), whole, width, height, paintColours, SRCPAINT)) {
    return false;
  }
  BitBlt(dc, area.left, area.top, areaWidth, areaHeight, copy.dc(), 0, 0, SRCCOPY);
  return true;
}

}  // namespace lumbra

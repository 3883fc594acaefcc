// Tiling with many tiles (a tiny image over a large window): one tile is
// painted into memory and repeated there by doubling, and the block goes
// onto the device in one copy, so the cost follows the area painted, not
// the number of tiles.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "images/image_load_flags.h"
#include "images/image_object.h"

namespace lumbra {

// Tiles an image through memory when tiling `rect` with tiles of width x
// height takes many of them on a plain (unscaled) device context:
// `paintArea` is given the part of the rectangle that the clip box shows,
// widened to start on a tile corner counted from the rectangle's origin.
// True when that is done, or nothing of the rectangle shows; false when the
// image must be tiled one tile at a time (few tiles, another mode, a scaled
// device context, or `paintArea` answered false).
bool TileThroughMemory(HDC dc, ImageLoadFlags flags, const ImageRect& rect, std::int32_t width,
                       std::int32_t height, const std::function<bool(const RECT&)>& paintArea);

// A memory device context and bitmap compatible with a device, with the
// device's palette selected.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC target, std::int32_t width, std::int32_t height);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  explicit operator bool() const { return bitmap_ != nullptr; }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
};

// Covers `area` of dc (whose left and top are a tile corner) with tiles of
// width x height, each as `paintTile` paints one at (0, 0) of a memory
// context, combined with the device's pixels by `rop`. False when the
// memory could not be had (nothing is painted then).
bool PaintTileLayer(HDC dc, const RECT& area, std::int32_t width, std::int32_t height,
                    const std::function<void(HDC)>& paintTile, DWORD rop);

// Covers `area` of dc (as above) with tiles that let what lies beneath
// them show: the mask of one tile (white where it leaves the device alone,
// black where it paints) and its colours (black where it leaves the device
// alone) are each tiled through memory and put over a memory copy of the
// area (SRCAND, then SRCPAINT), which then goes onto the device.
bool PaintMaskedTiles(HDC dc, const RECT& area, std::int32_t width, std::int32_t height,
                      const std::function<void(HDC)>& paintMask,
                      const std::function<void(HDC)>& paintColours);

}  // namespace lumbra

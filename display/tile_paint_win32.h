// Tiling with many tiles (a tiny image over a large window): one tile is
// painted into memory and repeated there by doubling, and the block goes
// onto the device in one copy, so the cost follows the area painted, not
// the number of tiles.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "codecs/image_object.h"

namespace lumbra {

// Whether tiling the rectangle with tiles of this size takes enough tiles
// to be painted through memory.
bool ManyTiles(const ImageRect& rect, std::int32_t width, std::int32_t height);

// The part of the rectangle that the device context shows (its clip box),
// widened to start on a tile corner counted from the rectangle's origin.
// Nothing when nothing shows.
std::optional<RECT> VisibleTiles(HDC dc, const ImageRect& rect, std::int32_t width,
                                 std::int32_t height);

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

}  // namespace lumbra

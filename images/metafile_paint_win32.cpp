// Playing a placeable metafile into a box of a device context.
#include <windows.h>

#include "images/metafile_image.h"
#include "images/tile_paint_win32.h"

namespace lumbra {

void MetafileImage::DrawAt(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height) {
  // A box of no width or height maps to nothing; the platform would refuse
  // its window extent and play the metafile one device unit per logical
  // unit, at whatever size its records give (a hostile one takes minutes).
  if (metafile_ == nullptr || box_.right == box_.left || box_.bottom == box_.top) return;
  SaveDC(dc);
  SetMapMode(dc, mappingMode_);
  SetWindowOrgEx(dc, box_.left, box_.top, nullptr);
  SetWindowExtEx(dc, box_.right - box_.left, box_.bottom - box_.top, nullptr);
  SetViewportOrgEx(dc, x, y, nullptr);
  SetViewportExtEx(dc, width, height, nullptr);
  IntersectClipRect(dc, box_.left, box_.top, box_.right, box_.bottom);
  PlayMetaFile(dc, metafile_);
  RestoreDC(dc, -1);
}

// Many tiles go through memory. What a metafile leaves alone is found by
// playing it over white and over black: the pixels that differ.
void MetafileImage::DrawInRectangle(std::uint32_t drawState, NativeDc dc, const ImageRect& rect) {
  auto colours = [&](HDC layer) {
    PatBlt(layer, 0, 0, width_, height_, BLACKNESS);
    DrawAt(layer, 0, 0, width_, height_);
  };
  auto mask = [&](HDC layer) {
    MemoryCanvas overBlack(layer, width_, height_);
    if (!overBlack) {  // without it every pixel counts as painted
      PatBlt(layer, 0, 0, width_, height_, BLACKNESS);
      return;
    }
    colours(overBlack.dc());
    PatBlt(layer, 0, 0, width_, height_, WHITENESS);
    DrawAt(layer, 0, 0, width_, height_);
    BitBlt(layer, 0, 0, width_, height_, overBlack.dc(), 0, 0, SRCINVERT);
  };
  auto paintArea = [&](const RECT& area) {
    return PaintMaskedTiles(dc, area, width_, height_, mask, colours);
  };
  if (!TileThroughMemory(dc, flags_, rect, width_, height_, paintArea)) {
    ImageObject::DrawInRectangle(drawState, dc, rect);
  }
}

bool MetafileImage::DrawStretched(NativeDc dc, const ImageRect& rect) {
  DrawAt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return true;
}

}  // namespace lumbra

// Playing a placeable metafile into a box of a device context.
#include <windows.h>

#include "codecs/metafile_image.h"

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

bool MetafileImage::DrawStretched(NativeDc dc, const ImageRect& rect) {
  DrawAt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return true;
}

}  // namespace lumbra

// Drawing icons, always at their own size, and their picture handles.
#include <windows.h>

#include "images/icon_image.h"

namespace lumbra {

void IconImage::DrawAt(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t) {
  if (icon_ != nullptr) DrawIcon(dc, x, y, icon_);
}

bool IconImage::DrawStretched(NativeDc, const ImageRect&) { return false; }

bool IconImage::GetHandle(PictureHandle& out) {
  if (icon_ == nullptr) return false;
  out.kind = 3;
  out.handle = icon_;
  out.palette = nullptr;
  return true;
}

}  // namespace lumbra

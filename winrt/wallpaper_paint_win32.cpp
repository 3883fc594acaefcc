// Painting a window's wallpaper: stretched over the client area, tiled
// from its top-left corner, or at its natural size in that corner.
#include "winrt/wallpaper_win32.h"

namespace lumbra {

void Wallpaper::Paint(HDC dc, const RECT& client) {
  if (!image_) return;
  if (stretched_) {
    image_->DrawAt(dc, client.left, client.top, client.right - client.left,
                   client.bottom - client.top);
  } else if (tiled_) {
    image_->SetPlacement(kPlaceTiled);
    image_->DrawInRectangle(0, dc, {client.left, client.top, client.right, client.bottom});
  } else {
    image_->DrawAt(dc, client.left, client.top, image_->width(), image_->height());
  }
}

void Wallpaper::AddColours(PaletteTarget* palette) {
  if (image_) image_->AddColours(palette);
}

}  // namespace lumbra

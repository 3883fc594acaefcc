// The host build has no devices: bitmap and GIF images paint nothing there,
// give no picture handles and reach no clipboard.
#include "images/bitmap_image.h"
#include "images/gif_image.h"

namespace lumbra {

void BitmapImage::Paint(NativeDc, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        NativeDc) {}

void BitmapImage::DrawInRectangle(std::uint32_t drawState, NativeDc dc, const ImageRect& rect) {
  ImageObject::DrawInRectangle(drawState, dc, rect);
}

bool BitmapImage::PaintTiledArea(NativeDc, const ImageRect&) { return false; }

bool BitmapImage::GetHandle(PictureHandle&) { return false; }

void BitmapImage::CopyToClipboard(NativeWindow) {}

void GifImage::Paint(NativeDc, std::int32_t, std::int32_t, std::int32_t, std::int32_t, NativeDc) {}

bool GifImage::PaintTiledArea(NativeDc, const ImageRect&) { return false; }

void GifImage::CopyToClipboard(NativeWindow) {}

}  // namespace lumbra

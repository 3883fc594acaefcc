// The host build has no devices: bitmap and GIF images paint nothing there,
// give no picture handles and reach no clipboard.
#include "codecs/bitmap_image.h"
#include "codecs/gif_image.h"

namespace lumbra {

void BitmapImage::Paint(NativeDc, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        NativeDc) {}

bool BitmapImage::GetHandle(PictureHandle&) { return false; }

void BitmapImage::CopyToClipboard(NativeWindow) {}

void GifImage::Paint(NativeDc, std::int32_t, std::int32_t, std::int32_t, std::int32_t, NativeDc) {}

void GifImage::CopyToClipboard(NativeWindow) {}

}  // namespace lumbra

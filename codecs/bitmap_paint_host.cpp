// The host build has no devices: bitmap images paint nothing there, give
// no picture handles and reach no clipboard.
#include "codecs/bitmap_image.h"

namespace lumbra {

void BitmapImage::Paint(NativeDc, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        NativeDc) {}

bool BitmapImage::GetHandle(PictureHandle&) { return false; }

void BitmapImage::CopyToClipboard(NativeWindow) {}

bool LogicalPixelsPerInch(NativeDc, std::int32_t&, std::int32_t&) { return false; }

}  // namespace lumbra

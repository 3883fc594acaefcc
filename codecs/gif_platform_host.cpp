// The host build has no windows or devices: GIF frames are decoded and the
// animation advances when driven directly, but nothing is painted, copied
// or timed there.
#include "codecs/gif_image.h"

namespace lumbra {

void GifImage::Paint(NativeDc, std::int32_t, std::int32_t, std::int32_t, std::int32_t, NativeDc) {}

void GifImage::CopyToClipboard(NativeWindow) {}

NativeWindow StartGifTimer(GifImage*, NativeWindow window, std::uint32_t) { return window; }

void DestroyGifTimer(NativeWindow) {}

}  // namespace lumbra

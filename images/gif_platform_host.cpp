// The host build has no windows: GIF frames are decoded and the animation
// advances when driven directly, but nothing is timed there.
#include "images/gif_image.h"

namespace lumbra {

NativeWindow StartGifTimer(GifImage*, NativeWindow window, std::uint32_t) { return window; }

void DestroyGifTimer(NativeWindow) {}

}  // namespace lumbra

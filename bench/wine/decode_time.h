// The decode of an image alone, in this process, through the same format
// registry the viewer's image control loads with.
#pragma once

#include <string>

#include "images/image_object.h"

namespace lumbra::bench {

// The image decoded as the viewer's image control decodes it; fails the
// benchmark when it does not decode.
ImagePtr DecodeImage(const std::string& path);

// Seconds that one decode of the image takes.
double DecodeSeconds(const std::string& path);
// The same while the screen is watched as the viewer's is while its
// pixels are waited for (ScreenWatch).
double WatchedDecodeSeconds(const std::string& path);

}  // namespace lumbra::bench

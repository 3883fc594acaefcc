// The image properties window: paths, date, time, size, dimensions, thumbnail.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

// The properties of the image on show, given its path (PS:FILENAME).
void ImagePropertiesWindow(std::string_view path);

}  // namespace lumbra

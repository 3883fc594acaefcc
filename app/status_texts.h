// The texts of the main window's status zones 1 to 4.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumbra {

// Zone 1: the long path and the place in the list, "path  (3 of 12)".
std::string PathStatus(std::string_view longPath, std::int32_t position, std::uint32_t count);
// Zone 2: "Bad Image", or the size as "640x480".
std::string SizeStatus(bool badImage, std::int32_t width, std::int32_t height);
// Zone 3: the zoom, "100%".
std::string ZoomStatus(std::int32_t zoom);
// Zone 4: the display mode, "Normal", "Stretched", "Tiled" or "Best Fit".
std::string_view ModeStatus(std::int32_t mode);

}  // namespace lumbra

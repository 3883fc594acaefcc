// The file listing window: picks the image to show from the sorted image list.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

// The file listing window: a position in the image list after Select, -1 after
// Cancel, 0 when closed otherwise.
std::int32_t FileListingWindow();

}  // namespace lumbra

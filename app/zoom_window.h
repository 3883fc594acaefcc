// The zoom window: a custom zoom percentage.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

// Asks for a custom zoom percentage; returns the zoom to use.
std::int16_t ZoomWindow();

}  // namespace lumbra

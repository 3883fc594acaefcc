// The small window that keeps the colour sample on until it is closed.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

// Keeps the colour sample on until its Close button is pressed.
void ColourSampleWindow();

}  // namespace lumbra

// The welcome window shown at start-up.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

// 0 nothing chosen, 1 Load Image, 2 Load Folder.
std::int32_t WelcomeScreen();

}  // namespace lumbra

// The about window.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

void AboutWindow();

}  // namespace lumbra

// The program setup window: the persistent options.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

// Edits a working copy of the settings; Ok replaces and saves them.
void ProgramSetupWindow();

}  // namespace lumbra

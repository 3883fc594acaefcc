// The main window's geometry as the viewer's procedures read it, and the
// rule that centres its two status texts.
#pragma once

#include <cstdint>

namespace lumbra {

// A numeric property of a control (0 the window), 0 when it has none.
std::int32_t PropertyNumber(std::int32_t control, std::uint32_t property);

std::int32_t WindowWidth();
std::int32_t WindowHeight();
std::int32_t ToolbarHeight();

// Centres a control across the window, and down the window less the tool
// bar and the status bar; its size stays.
void CentreRule(std::int32_t control);

}  // namespace lumbra

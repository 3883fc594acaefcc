// The main window's alert keys: registered when it opens, each running its
// action wherever the focus is.
#pragma once

#include <cstdint>

namespace lumbra {

void RegisterAlertKeys();

// Runs the action of an alerted key code.
void RunAlertKey(std::uint32_t keyCode);

}  // namespace lumbra

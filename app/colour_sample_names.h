// The colour names of the main window's colour-sample panel that its
// description leaves without a text colour.
#pragma once

namespace lumbra {

// Gives those twelve names the colours they name, on the active window
// (the main window, once it is open).
void ColourUncolouredSampleNames();

}  // namespace lumbra

// Bringing the main window up to date with the display state: loading the
// image named by PS:FILENAME, laying it out for the mode, the zoom and the
// window size, and the status zones and command states that follow.
#pragma once

#include <cstdint>

#include "app/image_fit.h"

namespace lumbra {

// The natural size of the image last loaded, and the scale of the last
// Best Fit.
extern std::int16_t ImageWidth;
extern std::int16_t ImageHeight;
extern FitScale BestFitScale;

// Redoes what changed since the last call: the load when PS:FILENAME
// differs from PS:OLDFILENAME, the layout when the mode, the zoom or the
// window size differs from what was last laid out. A call with nothing
// changed only makes sure a good image is visible.
void ShowImage();

// Places and sizes the image control to fit the window.
void BestFit();

// Normal at 100 %, both to be laid out afresh.
void ResetImageSettings();

// No image on show: empty status zones, "Image Not Loaded" centred.
void EnterNoImageState();

// Enables Prev, Next and Image List for the list and the position on show.
void SetNavigationStates();

// Whether Next and Prev are enabled now.
bool NextEnabled();
bool PrevEnabled();

}  // namespace lumbra

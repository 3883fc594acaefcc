// Seam until the window's own procedure lands: returns at once.
#include "app/zoom_window.h"

#include "app/program_settings.h"

namespace lumbra {

std::int16_t ZoomWindow() { return PS.IMAGEZOOM; }

}  // namespace lumbra

// Seam until the window's own procedure lands: returns at once.
#include "app/about_window.h"

#include "app/program_settings.h"

namespace lumbra {

void AboutWindow() {}

}  // namespace lumbra

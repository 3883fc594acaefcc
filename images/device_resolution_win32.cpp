// The resolution of a device context, for images shown in device units.
#include <windows.h>

#include "images/bitmap_image.h"

namespace lumbra {

bool LogicalPixelsPerInch(NativeDc dc, std::int32_t& x, std::int32_t& y) {
  if (dc == nullptr) return false;
  x = GetDeviceCaps(dc, LOGPIXELSX);
  y = GetDeviceCaps(dc, LOGPIXELSY);
  return x > 0 && y > 0;
}

}  // namespace lumbra

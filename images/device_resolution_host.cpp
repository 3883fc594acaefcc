// The host build has no devices: their resolution is never known there.
#include "images/bitmap_image.h"

namespace lumbra {

bool LogicalPixelsPerInch(NativeDc, std::int32_t&, std::int32_t&) { return false; }

}  // namespace lumbra

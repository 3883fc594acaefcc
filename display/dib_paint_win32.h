// Painting a checked device-independent bitmap onto a device.
#pragma once

#include <windows.h>

#include <cstdint>

#include "codecs/decoded_image.h"

namespace lumbra {

// StretchDIBits of the rows of a checked bitmap that lie inside its bytes:
// the whole image onto the destination rectangle.
void PaintDibLayout(HDC dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    const DibLayout& layout, DWORD rop);

}  // namespace lumbra

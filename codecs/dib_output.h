// Putting a packed bitmap on the clipboard, and painting checked bitmaps.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <span>

#include "codecs/decoded_image.h"

namespace lumbra {

// Opens the clipboard for the window, empties it and gives it a copy of the
// packed bitmap as CF_DIB. Does nothing when the clipboard cannot be opened.
void PutDibOnClipboard(HWND window, std::span<const std::uint8_t> packedDib);

// StretchDIBits of the rows of a checked bitmap that lie inside its bytes.
void PaintDibLayout(HDC dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    const DibLayout& layout, DWORD rop);

}  // namespace lumbra
#endif

// Checked bitmaps on devices.
#include "display/dib_paint_win32.h"

#include <vector>

namespace lumbra {

void PaintDibLayout(HDC dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    const DibLayout& layout, DWORD rop) {
  if (layout.rowsPresent == 0) return;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(layout.info);
  const std::int32_t sourceWidth = layout.header.width;
  const auto rows = static_cast<std::int32_t>(layout.rows);
  if (layout.complete()) {
    StretchDIBits(dc, x, y, width, height, 0, 0, sourceWidth, rows, layout.bits, info,
                  DIB_RGB_COLORS, rop);
    return;
  }
  // Only the rows inside the bytes are painted, where they belong in the
  // destination: the bottom rows of a bottom-up image, the top rows of a
  // top-down one. The header is copied with the shorter height.
  const auto present = static_cast<std::int32_t>(layout.rowsPresent);
  std::vector<std::uint8_t> header(layout.info, layout.colours + 4ull * layout.colourCount);
  const bool bottomUp = layout.header.height > 0;
  WriteU32(header.data() + 8, static_cast<std::uint32_t>(bottomUp ? present : -present));
  const auto shown = static_cast<std::int32_t>(std::int64_t{height} * present / rows);
  const std::int32_t top = bottomUp ? y + (height - shown) : y;
  StretchDIBits(dc, x, top, width, shown, 0, 0, sourceWidth, present, layout.bits,
                reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS, rop);
}

}  // namespace lumbra

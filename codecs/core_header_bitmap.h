// Bitmaps with the 12-byte core information header (OS/2 1.x and early
// Windows): 16-bit width and height, and a colour table of 3-byte entries.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumbra {

inline constexpr std::uint32_t kCoreHeaderSize = 12;

// Whether a BMP file image (file header first) carries a core header.
bool HasCoreHeader(std::span<const std::uint8_t> file);

// The same bitmap as a DecodedImage: a 40-byte information header, the
// colour table in 4-byte entries, and the rows the file holds. Nothing when
// the file is no core-header bitmap or its headers do not fit its bytes.
std::optional<std::vector<std::uint8_t>> ExpandCoreHeaderBitmap(std::span<const std::uint8_t> file);

}  // namespace lumbra

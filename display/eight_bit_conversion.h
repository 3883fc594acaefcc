// The conversion of a 24-bit image to an 8-bit one with at most 256
// colours, for displays that show colours through a palette.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "display/colour_collector.h"

namespace lumbra {

// Converts a complete 24-bit DecodedImage into a new 8-bit DecodedImage:
// its colours are offered to the collector (a pixel equal to the one
// before it in the row only once), reduced to 256, written as the colour
// table, and every pixel becomes the index of its colour's box. The
// collector's own colours are set aside meanwhile and given back after.
// Nothing when the bytes are not such an image or memory runs out.
std::optional<std::vector<std::uint8_t>> ConvertTo8Bit(std::span<const std::uint8_t> image,
                                                       ColourCollector& collector);

}  // namespace lumbra

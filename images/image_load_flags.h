// The load flags given to every loader and kept in the image.
#pragma once

#include <cstdint>

namespace lumbra {

using ImageLoadFlags = std::uint16_t;

// Bits 0-1: where the image goes in its target rectangle.
inline constexpr ImageLoadFlags kPlacementMask = 0x0003;
inline constexpr ImageLoadFlags kPlaceStretched = 0;
inline constexpr ImageLoadFlags kPlaceCentred = 1;
inline constexpr ImageLoadFlags kPlaceTiled = 2;

// The image must not keep the source bytes after decoding.
inline constexpr ImageLoadFlags DiscardSource = 0x0100;
// Only the dimensions are wanted: no pixels, handles, frames or timers.
inline constexpr ImageLoadFlags SizeOnly = 0x0200;
// Set by the source reader: the kept source is a program resource.
inline constexpr ImageLoadFlags SourceIsResource = 0x0400;

}  // namespace lumbra

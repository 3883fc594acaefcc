// The placeable metafile header and the checks made before the platform
// is given a metafile's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace lumbra {

inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr std::size_t kPlaceableHeaderSize = 22;

struct PlaceableHeader {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::uint16_t unitsPerInch = 0;
};

// The header of a placeable metafile: more than 22 bytes starting with the
// key; else nothing.
std::optional<PlaceableHeader> ReadPlaceableHeader(std::span<const std::uint8_t> bytes);

// The standard metafile after the placeable header, twice its header's word
// count long. Nothing when that length exceeds the bytes, or when a record
// runs past it (so that playing the metafile stays inside its bytes).
std::optional<std::span<const std::uint8_t>> StandardMetafileBits(
    std::span<const std::uint8_t> bytes);

// value x numerator / denominator, rounded to the nearest (halves away
// from zero); nothing for a zero denominator or a result beyond 32 bits.
std::optional<std::int32_t> MulDivRounded(std::int32_t value, std::int32_t numerator,
                                          std::int32_t denominator);

}  // namespace lumbra

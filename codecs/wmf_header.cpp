// Placeable metafile headers.
#include "codecs/wmf_header.h"

#include <cstdint>

#include "codecs/decoded_image.h"
#include "codecs/wmf_records.h"

namespace lumbra {

namespace {

constexpr std::size_t kStandardHeaderSize = 18;
constexpr std::size_t kSizeFieldAt = 6;      // in the standard header
constexpr std::size_t kObjectsFieldAt = 10;  // the object table's slots
constexpr std::uint16_t kEndOfFile = 0;      // function of the last record

// Walks the records: each names its size in words (at least 3: size and
// function), must end inside the bytes, and its parameters must hold what
// playback reads of them; the walk ends at the end-of-file record or
// exactly at the end.
bool RecordsFit(std::span<const std::uint8_t> metafile) {
  const std::size_t headerWords = ReadU16(metafile.data() + 2);
  const std::uint16_t objects = ReadU16(metafile.data() + kObjectsFieldAt);
  std::size_t at = headerWords * 2;
  if (at < kStandardHeaderSize || at > metafile.size()) return false;
  while (at < metafile.size()) {
    if (at + 6 > metafile.size()) return false;
    const std::uint64_t words = ReadU32(metafile.data() + at);
    if (words < 3 || words * 2 > metafile.size() - at) return false;
    const std::uint16_t function = ReadU16(metafile.data() + at + 4);
    if (function == kEndOfFile) return true;
    const auto size = static_cast<std::size_t>(words * 2);
    if (!RecordParametersFit(function, metafile.subspan(at + 6, size - 6), objects)) return false;
    at += size;
  }
  return true;
}

}  // namespace

std::optional<PlaceableHeader> ReadPlaceableHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() <= kPlaceableHeaderSize || ReadU32(bytes.data()) != kPlaceableKey) {
    return std::nullopt;
  }
  PlaceableHeader header;
  header.left = ReadS16(bytes.data() + 6);
  header.top = ReadS16(bytes.data() + 8);
  header.right = ReadS16(bytes.data() + 10);
  header.bottom = ReadS16(bytes.data() + 12);
  header.unitsPerInch = ReadU16(bytes.data() + 14);
  return header;
}

std::optional<std::span<const std::uint8_t>> StandardMetafileBits(
    std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kPlaceableHeaderSize + kStandardHeaderSize) return std::nullopt;
  const std::span<const std::uint8_t> rest = bytes.subspan(kPlaceableHeaderSize);
  const std::uint64_t length = 2ull * ReadU32(rest.data() + kSizeFieldAt);
  if (length < kStandardHeaderSize || length > rest.size()) return std::nullopt;
  const std::span<const std::uint8_t> metafile = rest.first(static_cast<std::size_t>(length));
  if (!RecordsFit(metafile)) return std::nullopt;
  return metafile;
}

std::optional<std::int32_t> MulDivRounded(std::int32_t value, std::int32_t numerator,
                                          std::int32_t denominator) {
  if (denominator == 0) return std::nullopt;
  std::int64_t product = std::int64_t{value} * numerator;
  std::int64_t divisor = denominator;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const std::int64_t half = divisor / 2;
  const std::int64_t result =
      product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
  if (result > INT32_MAX || result < INT32_MIN) return std::nullopt;
  return static_cast<std::int32_t>(result);
}

}  // namespace lumbra

// Reading and checking the parts of a BMP file image.
#include "codecs/decoded_image.h"

#include <algorithm>
#include <cstdlib>

namespace lumbra {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kV4HeaderSize = 108;

bool KnownBitCount(std::uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Finds the parts of a bitmap whose information header starts at info_at and
// whose pixel rows start at bits_at (both offsets into bytes).
std::optional<DibLayout> CheckParts(std::span<const std::uint8_t> bytes, std::uint64_t info_at,
                                    std::uint64_t bits_at, bool bits_follow_colours) {
  if (info_at + kInfoHeaderSize > bytes.size()) return std::nullopt;
  DibLayout layout;
  layout.info = bytes.data() + info_at;
  layout.header = ReadInfoHeader(layout.info);
  const BitmapInfoHeader& h = layout.header;
  if (h.size < kInfoHeaderSize || h.width <= 0 || h.height == 0 || h.planes != 1 ||
      !KnownBitCount(h.bitCount)) {
    return std::nullopt;
  }
  // A bitfield bitmap whose header is shorter than the version 4 header
  // carries its three masks where the colour table would start: the
  // platform reads them there whatever the header's length.
  const std::uint64_t masks = (h.compression == kBiBitfields && h.size < kV4HeaderSize) ? 12 : 0;
  layout.colourCount = ColourTableEntries(h);
  const std::uint64_t colours_at = info_at + h.size + masks;
  const std::uint64_t colours_end = colours_at + 4ull * layout.colourCount;
  if (colours_end > bytes.size()) return std::nullopt;
  layout.colours = bytes.data() + colours_at;
  if (bits_follow_colours) bits_at = colours_end;
  if (bits_at > bytes.size() || bits_at < info_at + kInfoHeaderSize) return std::nullopt;
  layout.bits = bytes.data() + bits_at;
  layout.bitsSize = static_cast<std::uint32_t>(bytes.size() - bits_at);
  layout.rows = static_cast<std::uint32_t>(std::abs(static_cast<std::int64_t>(h.height)));

  switch (h.compression) {
    case kBiRgb:
    case kBiBitfields:
      if (h.compression == kBiBitfields && h.bitCount != 16 && h.bitCount != 32) {
        return std::nullopt;
      }
      layout.stride = RowStride(h.width, h.bitCount);
      if (layout.stride == 0) return std::nullopt;
      layout.rowsPresent = static_cast<std::uint32_t>(
          std::min<std::uint64_t>(layout.rows, layout.bitsSize / layout.stride));
      return layout;
    case kBiRle8:
    case kBiRle4:
      // Run-length rows have no stride; the platform reads sizeImage bytes
      // of them, so they count as present only when all of those are here.
      if ((h.compression == kBiRle8) != (h.bitCount == 8) ||
          (h.compression == kBiRle4) != (h.bitCount == 4) || h.height < 0) {
        return std::nullopt;
      }
      layout.rowsPresent = (h.sizeImage != 0 && h.sizeImage <= layout.bitsSize) ? layout.rows : 0;
      return layout;
    default: return std::nullopt;
  }
}

}  // namespace

BitmapInfoHeader ReadInfoHeader(const std::uint8_t* p) {
  BitmapInfoHeader h;
  h.size = ReadU32(p);
  h.width = ReadS32(p + 4);
  h.height = ReadS32(p + 8);
  h.planes = ReadU16(p + 12);
  h.bitCount = ReadU16(p + 14);
  h.compression = ReadU32(p + 16);
  h.sizeImage = ReadU32(p + 20);
  h.xPelsPerMeter = ReadS32(p + 24);
  h.yPelsPerMeter = ReadS32(p + 28);
  h.clrUsed = ReadU32(p + 32);
  h.clrImportant = ReadU32(p + 36);
  return h;
}

void WriteInfoHeader(std::uint8_t* p, const BitmapInfoHeader& h) {
  WriteU32(p, h.size);
  WriteU32(p + 4, static_cast<std::uint32_t>(h.width));
  WriteU32(p + 8, static_cast<std::uint32_t>(h.height));
  WriteU16(p + 12, h.planes);
  WriteU16(p + 14, h.bitCount);
  WriteU32(p + 16, h.compression);
  WriteU32(p + 20, h.sizeImage);
  WriteU32(p + 24, static_cast<std::uint32_t>(h.xPelsPerMeter));
  WriteU32(p + 28, static_cast<std::uint32_t>(h.yPelsPerMeter));
  WriteU32(p + 32, h.clrUsed);
  WriteU32(p + 36, h.clrImportant);
}

std::uint32_t RowStride(std::int32_t width, std::uint16_t bitCount) {
  if (width <= 0) return 0;
  const std::uint64_t bits = static_cast<std::uint64_t>(width) * bitCount;
  const std::uint64_t stride = (bits + 31) / 32 * 4;
  return stride > 0xFFFFFFFFull ? 0 : static_cast<std::uint32_t>(stride);
}

std::uint32_t ColourTableEntries(const BitmapInfoHeader& header) {
  if (header.clrUsed != 0) return header.clrUsed;
  return header.bitCount <= 8 ? (1u << header.bitCount) : 0;
}

std::optional<DibLayout> CheckDecodedImage(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  return CheckParts(bytes, kInfoHeaderOffset, ReadU32(bytes.data() + 10), false);
}

std::optional<DibLayout> CheckPackedDib(std::span<const std::uint8_t> bytes) {
  return CheckParts(bytes, 0, 0, true);
}

}  // namespace lumbra

// The byte layout shared by every raster image: a complete BMP file image
// (14-byte file header, 40-byte information header, colour table, rows
// bottom-up padded to 4 bytes), and the checked view through which every
// reader of such bytes finds its parts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lumbra {

inline constexpr std::uint32_t kFileHeaderSize = 14;
inline constexpr std::uint32_t kInfoHeaderSize = 40;
// Offset of the information header in a DecodedImage.
inline constexpr std::uint32_t kInfoHeaderOffset = kFileHeaderSize;

// Little-endian field access within a byte block; the caller guarantees
// that offset + field size lies inside the block.
inline std::uint16_t ReadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int16_t ReadS16(const std::uint8_t* p) { return static_cast<std::int16_t>(ReadU16(p)); }
inline std::int32_t ReadS32(const std::uint8_t* p) { return static_cast<std::int32_t>(ReadU32(p)); }
inline void WriteU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void WriteU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The 40-byte bitmap information header, field by field.
struct BitmapInfoHeader {
  std::uint32_t size = kInfoHeaderSize;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: bottom-up rows; negative: top-down
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;
};

// Reads and writes the header at p (40 bytes available).
BitmapInfoHeader ReadInfoHeader(const std::uint8_t* p);
void WriteInfoHeader(std::uint8_t* p, const BitmapInfoHeader& header);

// Bytes per row of a bitmap: width x bits rounded up to 4 bytes; 0 when it
// would not fit 32 bits.
std::uint32_t RowStride(std::int32_t width, std::uint16_t bitCount);

// A DecodedImage's parts, found and checked against the bytes actually
// present. The information header and colour table always lie inside the
// bytes; rowsPresent counts the whole rows that do (bottom rows first for a
// bottom-up image, top rows first for a top-down one).
struct DibLayout {
  BitmapInfoHeader header;
  const std::uint8_t* info = nullptr;     // the information header
  const std::uint8_t* colours = nullptr;  // colourCount entries of 4 bytes
  std::uint32_t colourCount = 0;
  const std::uint8_t* bits = nullptr;  // the pixel rows
  std::uint32_t bitsSize = 0;          // bytes from bits to the end of the block
  std::uint32_t stride = 0;            // bytes per row (0 for compressed rows)
  std::uint32_t rows = 0;              // |height|
  std::uint32_t rowsPresent = 0;       // rows wholly inside the bytes
  bool complete() const { return rowsPresent == rows; }
};

// Colours in the table of an image with this header: 2, 16 or 256 for 1, 4
// and 8 bits, 0 for deeper pixels, replaced by clrUsed when that is given.
std::uint32_t ColourTableEntries(const BitmapInfoHeader& header);

// Checks a complete BMP file image (file header first). Gives nothing when
// the headers or the colour table do not fit the bytes, the bit offset lies
// outside them, or the header describes no paintable bitmap.
std::optional<DibLayout> CheckDecodedImage(std::span<const std::uint8_t> bytes);

// The same for a packed bitmap (information header first, the rows directly
// after the colour table), as the GIF frame buffer and the clipboard hold it.
std::optional<DibLayout> CheckPackedDib(std::span<const std::uint8_t> bytes);

}  // namespace lumbra

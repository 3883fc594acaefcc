// Core-header bitmaps rewritten with the information header that every
// reader of a DecodedImage expects.
#include "codecs/core_header_bitmap.h"

#include <algorithm>

#include "codecs/decoded_image.h"

namespace lumbra {

namespace {

// Core header fields, by offset from the start of the file.
constexpr std::size_t kCoreWidth = kInfoHeaderOffset + 4;
constexpr std::size_t kCoreHeight = kInfoHeaderOffset + 6;
constexpr std::size_t kCorePlanes = kInfoHeaderOffset + 8;
constexpr std::size_t kCoreBitCount = kInfoHeaderOffset + 10;
constexpr std::size_t kCoreColours = kInfoHeaderOffset + kCoreHeaderSize;
constexpr std::size_t kBitsOffset = 10;

}  // namespace

bool HasCoreHeader(std::span<const std::uint8_t> file) {
  return file.size() >= kCoreColours && file[0] == 'B' && file[1] == 'M' &&
         ReadU32(file.data() + kInfoHeaderOffset) == kCoreHeaderSize;
}

std::optional<std::vector<std::uint8_t>> ExpandCoreHeaderBitmap(
    std::span<const std::uint8_t> file) {
  if (!HasCoreHeader(file)) return std::nullopt;
  BitmapInfoHeader header;
  header.width = ReadU16(file.data() + kCoreWidth);
  header.height = ReadU16(file.data() + kCoreHeight);
  header.planes = ReadU16(file.data() + kCorePlanes);
  header.bitCount = ReadU16(file.data() + kCoreBitCount);
  const std::uint16_t bits = header.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;

  // The table runs from the header to the rows, at most one entry per
  // colour the pixels can name.
  const std::uint32_t bitsAt = ReadU32(file.data() + kBitsOffset);
  if (bitsAt < kCoreColours || bitsAt > file.size()) return std::nullopt;
  const std::uint32_t colours =
      bits <= 8 ? std::min<std::uint32_t>(1u << bits, (bitsAt - kCoreColours) / 3) : 0;
  header.clrUsed = colours;

  const std::span<const std::uint8_t> rows = file.subspan(bitsAt);
  const std::uint32_t tableAt = kFileHeaderSize + kInfoHeaderSize;
  const std::uint32_t rowsAt = tableAt + 4 * colours;
  std::vector<std::uint8_t> block(rowsAt + rows.size(), 0);
  block[0] = 'B';
  block[1] = 'M';
  WriteU32(block.data() + 2, static_cast<std::uint32_t>(block.size()));
  WriteU32(block.data() + kBitsOffset, rowsAt);
  header.sizeImage = static_cast<std::uint32_t>(rows.size());
  WriteInfoHeader(block.data() + kInfoHeaderOffset, header);
  for (std::uint32_t i = 0; i < colours; ++i)
    std::copy_n(file.begin() + kCoreColours + 3 * i, 3, block.begin() + tableAt + 4 * i);
  std::copy(rows.begin(), rows.end(), block.begin() + rowsAt);
  return block;
}

}  // namespace lumbra

// GIF block parsing.
#include "codecs/gif_blocks.h"

#include <algorithm>
#include <cstring>

#include "codecs/decoded_image.h"

namespace lumbra {

namespace {

constexpr std::size_t kScreenEnd = 13;  // header and logical screen descriptor
constexpr std::uint8_t kImageIntroducer = 0x2C;
constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kApplicationLabel = 0xFF;

// Steps over data sub-blocks from pos up to and including the empty one;
// false when they run beyond the bytes.
bool SkipSubBlocks(std::span<const std::uint8_t> bytes, std::size_t& pos) {
  for (;;) {
    if (pos >= bytes.size()) return false;
    const std::size_t length = bytes[pos++];
    if (length == 0) return true;
    pos += length;
    if (pos > bytes.size()) return false;
  }
}

// A byte of the file, 0 past its end (fields of short blocks).
std::uint8_t ByteAt(std::span<const std::uint8_t> bytes, std::size_t pos) {
  return pos < bytes.size() ? bytes[pos] : 0;
}

// NETSCAPE2.0: a 3-byte sub-block starting with 1 holds the loop count.
void ReadLooping(std::span<const std::uint8_t> bytes, std::size_t start, GifBlock& block) {
  static constexpr char kNetscape[] = "NETSCAPE2.0";
  if (start + 3 + 11 > bytes.size() || std::memcmp(bytes.data() + start + 3, kNetscape, 11) != 0) {
    return;
  }
  std::size_t pos = start + 14;
  while (pos < bytes.size()) {
    const std::size_t length = bytes[pos];
    if (length == 0) break;
    if (length == 3 && ByteAt(bytes, pos + 1) == 1) {
      block.looping = true;
      block.loopCount =
          static_cast<std::uint16_t>(ByteAt(bytes, pos + 2) | (ByteAt(bytes, pos + 3) << 8));
    }
    pos += 1 + length;
  }
}

GifBlock ParseExtension(std::span<const std::uint8_t> bytes, std::size_t start) {
  GifBlock block;
  const std::uint8_t label = bytes[start + 1];
  std::size_t pos = start + 2;
  block.valid = SkipSubBlocks(bytes, pos);
  block.length = static_cast<std::uint32_t>(pos - start);
  if (label == kGraphicControlLabel) {
    block.kind = GifBlockKind::kGraphicControl;
    block.delay =
        static_cast<std::uint16_t>(ByteAt(bytes, start + 4) | (ByteAt(bytes, start + 5) << 8));
    block.transparent = (ByteAt(bytes, start + 3) & 1) ? ByteAt(bytes, start + 6) : -1;
  } else if (label == kApplicationLabel) {
    block.kind = GifBlockKind::kApplication;
    ReadLooping(bytes, start, block);
  }
  return block;
}

GifBlock ParseImage(std::span<const std::uint8_t> bytes, std::size_t start) {
  GifBlock block;
  block.kind = GifBlockKind::kImage;
  if (start + 10 > bytes.size()) {
    block.valid = false;
    return block;
  }
  const std::uint8_t* p = bytes.data() + start;
  block.left = ReadU16(p + 1);
  block.top = ReadU16(p + 3);
  block.right = block.left + ReadU16(p + 5);
  block.bottom = block.top + ReadU16(p + 7);
  const std::uint8_t packed = p[9];
  block.interlaced = (packed & 0x40) != 0;
  std::size_t pos = start + 10;
  if (packed & 0x80) pos += 3 * GifTableEntries(packed);
  block.minCodeSize = ByteAt(bytes, pos);
  block.dataOffset = static_cast<std::uint16_t>(pos + 1 - start);
  ++pos;
  block.valid = pos <= bytes.size() && block.minCodeSize >= 2 && block.minCodeSize <= 11 &&
                SkipSubBlocks(bytes, pos);
  block.length = static_cast<std::uint32_t>(std::min(pos, bytes.size()) - start);
  return block;
}

}  // namespace

std::optional<GifStructure> ParseGifBlocks(std::span<const std::uint8_t> bytes, bool keepBlocks) {
  GifStructure gif;
  if (bytes.size() < kScreenEnd) return std::nullopt;
  std::size_t pos = kScreenEnd;
  if (bytes[10] & 0x80) pos += 3 * GifTableEntries(bytes[10]);
  for (;;) {
    if (pos >= bytes.size()) return std::nullopt;
    GifBlock block;
    switch (bytes[pos]) {
      case kExtensionIntroducer:
        if (pos + 1 >= bytes.size()) return std::nullopt;
        block = ParseExtension(bytes, pos);
        break;
      case kImageIntroducer: block = ParseImage(bytes, pos); break;
      case kTrailer: return gif;
      default: return std::nullopt;
    }
    if (!block.valid) return std::nullopt;
    block.offset = static_cast<std::uint32_t>(pos);
    if (block.kind == GifBlockKind::kImage) {
      gif.width = std::max(gif.width, block.right);
      gif.height = std::max(gif.height, block.bottom);
    }
    pos += block.length;
    if (keepBlocks) gif.blocks.push_back(block);
  }
}

}  // namespace lumbra

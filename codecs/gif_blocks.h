// The block structure of a GIF file, parsed once at load.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumbra {

enum class GifBlockKind : std::uint8_t {
  kImage,           // 2C
  kGraphicControl,  // 21 F9
  kApplication,     // 21 FF
  kExtension,       // any other 21 xx
};

struct GifBlock {
  GifBlockKind kind = GifBlockKind::kExtension;
  std::uint32_t length = 0;  // bytes, introducer included
  std::uint32_t offset = 0;  // from the start of the file
  bool valid = true;
  // Image block.
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool interlaced = false;
  std::uint8_t minCodeSize = 0;
  std::uint16_t dataOffset = 0;  // first data sub-block, from the block start
  // Graphic control block.
  std::uint16_t delay = 0;  // hundredths of a second
  std::int32_t transparent = -1;
  // Application block (NETSCAPE2.0 looping).
  bool looping = false;
  std::uint16_t loopCount = 0;
};

struct GifStructure {
  std::int32_t width = 0;  // logical size: the extent of every image block
  std::int32_t height = 0;
  std::vector<GifBlock> blocks;  // empty when the blocks were not kept
};

// Parses the blocks of a GIF file (header already recognised). Gives
// nothing for an unknown introducer, an LZW minimum code size outside 2-11,
// or bytes that end before the trailer. keepBlocks false keeps only the size.
std::optional<GifStructure> ParseGifBlocks(std::span<const std::uint8_t> bytes, bool keepBlocks);

// Number of colour-table entries that a packed byte's low three bits give.
inline std::uint32_t GifTableEntries(std::uint8_t packed) { return 2u << (packed & 7); }

}  // namespace lumbra

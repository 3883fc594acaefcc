// Masks for 32-bit icon images built from their alpha channel.
#include "codecs/icon_mask.h"

#include <algorithm>

#include "codecs/decoded_image.h"

namespace lumbra {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kDirectoryEntry = 16;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

struct Entry {
  std::uint32_t offset;
  std::uint32_t size;
};

// The parts of a 32-bit bitmap image up to the end of its colour rows;
// none for other images, and for images that hold their mask already.
struct MasklessImage {
  std::size_t rowsAt = 0;
  std::uint32_t width = 0;
  std::uint32_t rows = 0;
  bool found = false;
};

MasklessImage FindMaskless(Bytes image) {
  MasklessImage m;
  if (image.size() < kInfoHeaderSize) return m;
  const BitmapInfoHeader h = ReadInfoHeader(image.data());
  if (h.size < kInfoHeaderSize || h.size > image.size() || h.bitCount != 32 || h.planes != 1 ||
      (h.compression != kBiRgb && h.compression != kBiBitfields) || h.width < 1 || h.width > 4096 ||
      h.height < 2 || h.height > 8192) {
    return m;
  }
  const std::uint64_t masks = h.compression == kBiBitfields && h.size == kInfoHeaderSize ? 12 : 0;
  const std::uint64_t rowsAt = h.size + masks + 4ull * h.clrUsed;
  const std::uint64_t rows = static_cast<std::uint32_t>(h.height) / 2;
  const std::uint64_t colourEnd = rowsAt + 4ull * static_cast<std::uint32_t>(h.width) * rows;
  const std::uint64_t maskEnd = colourEnd + RowStride(h.width, 1) * rows;
  if (h.clrUsed > 256 || colourEnd > image.size() || maskEnd <= image.size()) return m;
  m.rowsAt = static_cast<std::size_t>(rowsAt);
  m.width = static_cast<std::uint32_t>(h.width);
  m.rows = static_cast<std::uint32_t>(rows);
  m.found = true;
  return m;
}

// The image's header and colour rows followed by mask rows from alpha.
std::vector<std::uint8_t> WithMask(Bytes image, const MasklessImage& m) {
  const std::size_t colourBytes = 4ull * m.width * m.rows;
  const std::uint32_t stride = RowStride(static_cast<std::int32_t>(m.width), 1);
  std::vector<std::uint8_t> out(image.begin(),
                                image.begin() + static_cast<long>(m.rowsAt + colourBytes));
  const std::uint8_t* pixels = out.data() + m.rowsAt;
  bool anyAlpha = false;
  for (std::size_t i = 0; i < colourBytes && !anyAlpha; i += 4) anyAlpha = pixels[i + 3] != 0;
  out.resize(out.size() + static_cast<std::size_t>(stride) * m.rows, 0);
  if (!anyAlpha) return out;
  std::uint8_t* mask = out.data() + m.rowsAt + colourBytes;
  pixels = out.data() + m.rowsAt;
  for (std::uint32_t y = 0; y < m.rows; ++y) {
    for (std::uint32_t x = 0; x < m.width; ++x) {
      if (pixels[4ull * (y * m.width + x) + 3] == 0)
        mask[y * stride + x / 8] =
            static_cast<std::uint8_t>(mask[y * stride + x / 8] | 0x80 >> (x % 8));
    }
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> IconFileWithMasks(Bytes file) {
  if (file.size() < kDirectoryHeader || ReadU16(file.data()) != 0) return {};
  const std::uint16_t type = ReadU16(file.data() + 2);
  const std::uint16_t count = ReadU16(file.data() + 4);
  const std::size_t directoryEnd = kDirectoryHeader + kDirectoryEntry * count;
  if ((type != 1 && type != 2) || count == 0 || directoryEnd > file.size()) return {};

  // Every image, masked where it lacks one, laid out after the directory.
  std::vector<std::vector<std::uint8_t>> images;
  bool added = false;
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = file.data() + kDirectoryHeader + kDirectoryEntry * i;
    const Entry e{ReadU32(entry + 12), ReadU32(entry + 8)};
    if (e.offset > file.size() || e.size > file.size() - e.offset) return {};
    const Bytes image = file.subspan(e.offset, e.size);
    const MasklessImage m = FindMaskless(image);
    added = added || m.found;
    images.push_back(m.found ? WithMask(image, m)
                             : std::vector<std::uint8_t>(image.begin(), image.end()));
  }
  if (!added) return {};
  std::vector<std::uint8_t> out(file.begin(), file.begin() + static_cast<long>(directoryEnd));
  for (std::uint16_t i = 0; i < count; ++i) {
    std::uint8_t* entry = out.data() + kDirectoryHeader + kDirectoryEntry * i;
    WriteU32(entry + 8, static_cast<std::uint32_t>(images[i].size()));
    WriteU32(entry + 12, static_cast<std::uint32_t>(out.size()));
    out.insert(out.end(), images[i].begin(), images[i].end());
  }
  return out;
}

}  // namespace lumbra

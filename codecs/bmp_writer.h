// The output stage that turns decoded rows of colour indices into an 8-bit
// DecodedImage: file and information headers, a 256-entry colour table and
// the rows bottom-up, each padded to 4 bytes. The JPEG and PCX decoders
// share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lumbra {

inline constexpr std::uint32_t kBmpHeaderBytes = 14 + 40;
inline constexpr std::uint32_t kBmpColourTableBytes = 256 * 4;
inline constexpr std::uint32_t kBmpPixelsPerMetre = 3000;

// The largest DecodedImage a decoder builds. Headers may claim sizes no
// program could hold; such files are refused instead of allocated.
inline constexpr std::size_t kDecodedImageLimit = std::size_t{1} << 30;

// The sizes of an 8-bit DecodedImage of width x height pixels.
struct BmpGeometry {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t stride = 0;      // width rounded up to a multiple of 4
  std::uint32_t pixelBytes = 0;  // stride x height
  std::uint32_t blockBytes = 0;  // headers + colour table + pixels
};

// The geometry for this size, or nothing when width or height is not
// positive or the block would exceed limit bytes.
std::optional<BmpGeometry> BmpGeometryFor(std::int64_t width, std::int64_t height,
                                          std::size_t limit = kDecodedImageLimit);

// One palette: entry i has the colour (red[i x step], green[i x step],
// blue[i x step]).
struct ColourMap {
  const std::uint8_t* red = nullptr;
  const std::uint8_t* green = nullptr;
  const std::uint8_t* blue = nullptr;
  std::size_t step = 1;
};

class BmpWriter {
 public:
  // block holds the headers and colour table, and the pixel rows too unless
  // only the headers are wanted.
  BmpWriter(std::span<std::uint8_t> block, const BmpGeometry& geometry)
      : block_(block), geometry_(geometry) {}

  // Writes the file and information headers.
  void StartOutput();
  // Writes all 256 table entries: the first count from map, or a grey ramp
  // of count steps from 0 to 255 when there is no map; the rest black.
  // False when count is above 256.
  bool PutColourMap(int count, const ColourMap* map);
  // The bytes of the image row counted from the top: rows are stored
  // bottom-up, so the top row is the last in the block. Its padding is
  // zero as long as the caller writes only the first width bytes.
  std::uint8_t* Row(std::int32_t fromTop);

  const BmpGeometry& geometry() const { return geometry_; }

 private:
  std::span<std::uint8_t> block_;
  BmpGeometry geometry_;
};

}  // namespace lumbra

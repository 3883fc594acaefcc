// PCX pictures of up to 256 colours: the 128-byte header, the colour map
// (the header's 16 entries or the 769-byte trailer), and the run-length
// coded rows, delivered as one colour index per pixel.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "codecs/bmp_writer.h"
#include "codecs/jpeg_memory_stream.h"

namespace lumbra {

enum class PcxRefusal {
  None,
  NotPcx,          // short header or a version other than 0, 2 and 5
  TooManyColours,  // more than 256 colours
  NoPaletteRoom,   // the file is too short to hold the 256-colour trailer
  MissingMarker,   // the trailer does not begin with 0C hex
  ShortPalette,    // the trailer ends before its 768 bytes
  NoPixels,        // a maximum coordinate below its minimum
};

// The message that goes with a refusal.
std::string_view PcxRefusalText(PcxRefusal refusal);

inline constexpr std::size_t kPcxHeaderBytes = 128;
inline constexpr std::size_t kPcxTrailerBytes = 769;
inline constexpr std::uint8_t kPcxPaletteMarker = 0x0C;

// How the pixel bits of a row lie in the file: planes lines after each
// other, each holding bits per pixel for every pixel, most significant
// first. Plane k gives the bits from k x bits upwards of the colour index.
struct PcxLayout {
  int bits = 8;
  int planes = 1;
};

class PcxReader {
 public:
  // Reads the header and the colour map; the stream is then at the first
  // row. Each start begins with no run pending.
  PcxRefusal Start(MemoryStream& stream);

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  int colourCount() const { return colourCount_; }
  PcxLayout layout() const { return layout_; }
  // 256 entries of red, green and blue.
  const std::array<std::uint8_t, 768>& colourMap() const { return colourMap_; }

  // Reads the next row as width colour indices.
  void ReadRow(std::uint8_t* indices);

 private:
  void Decode(std::uint8_t* destination, std::size_t count);

  MemoryStream* stream_ = nullptr;
  bool runLength_ = true;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  int colourCount_ = 0;
  PcxLayout layout_;
  std::size_t lineBytes_ = 0;   // bytes of one plane line as stored
  std::size_t pixelBytes_ = 0;  // the bytes of a plane line that hold pixels
  std::array<std::uint8_t, 768> colourMap_{};
  std::vector<std::uint8_t> planeLines_;
  int runCount_ = 0;
  std::uint8_t runByte_ = 0;
};

// Decodes a PCX file into an 8-bit DecodedImage block. With sizeOnly only
// the headers are written and the block holds just headers and colour
// table. Nothing for a refused file or one whose image would exceed limit.
std::optional<std::vector<std::uint8_t>> DecodePcxImage(std::span<const std::uint8_t> bytes,
                                                        bool sizeOnly,
                                                        std::size_t limit = kDecodedImageLimit);

}  // namespace lumbra

#include "codecs/pcx_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "codecs/decoded_image.h"

namespace lumbra {

namespace {

struct RefusalText {
  PcxRefusal refusal;
  std::string_view text;
};

constexpr RefusalText kRefusalTexts[] = {
    {PcxRefusal::None, ""},
    {PcxRefusal::NotPcx, "Not a PCX file"},
    {PcxRefusal::TooManyColours, "Upto 256 colours supported"},
    {PcxRefusal::NoPaletteRoom, "Cannot handle V3 pallettes"},
    {PcxRefusal::MissingMarker, "Missing pallette marker"},
    {PcxRefusal::ShortPalette, "Unable to read pallette"},
    {PcxRefusal::NoPixels, "Image has no pixels"},
};

// Header fields, by offset.
constexpr std::size_t kVersion = 1;
constexpr std::size_t kEncoding = 2;
constexpr std::size_t kBitsPerPixel = 3;
constexpr std::size_t kXMin = 4;
constexpr std::size_t kYMin = 6;
constexpr std::size_t kXMax = 8;
constexpr std::size_t kYMax = 10;
constexpr std::size_t kHeaderColourMap = 16;
constexpr std::size_t kPlanes = 65;
constexpr std::size_t kBytesPerLine = 66;

bool KnownVersion(std::uint8_t version) { return version == 0 || version == 2 || version == 5; }

// For each byte of a 1-bit plane line: its eight bits, most significant
// first, as eight bytes of 0 or 1, so a plane adds to eight pixels at once.
using SpreadBits = std::array<std::array<std::uint8_t, 8>, 256>;
constexpr SpreadBits MakeSpreadBits() {
  SpreadBits table{};
  for (int b = 0; b < 256; ++b)
    for (int i = 0; i < 8; ++i) table[b][i] = static_cast<std::uint8_t>((b >> (7 - i)) & 1);
  return table;
}
constexpr SpreadBits kSpreadBits = MakeSpreadBits();

// Adds one 1-bit plane line as bit `plane` of the indices.
void AddBitPlane(const std::uint8_t* line, int plane, std::uint8_t* indices, std::size_t width) {
  const std::size_t whole = width / 8;
  for (std::size_t i = 0; i < whole; ++i) {
    std::uint64_t pixels, bits;
    std::memcpy(&pixels, indices + 8 * i, 8);
    std::memcpy(&bits, kSpreadBits[line[i]].data(), 8);
    pixels |= bits << plane;  // each byte holds 0 or 1, so no bit crosses a byte
    std::memcpy(indices + 8 * i, &pixels, 8);
  }
  for (std::size_t x = whole * 8; x < width; ++x)
    indices[x] = static_cast<std::uint8_t>(indices[x] | kSpreadBits[line[x / 8]][x % 8] << plane);
}

// The layout the pixel data is read with. Planes of 1, 2, 4 or 8 bits that
// together make at most 8 bits are read as they are stored (monochrome,
// four-colour, 16-colour planar or packed, 256-colour). Anything else is
// read as four 1-bit planes when it has at most 16 colours, else as one
// byte per pixel.
PcxLayout LayoutFor(int bits, int planes, int colourCount) {
  const bool packable = bits == 1 || bits == 2 || bits == 4 || bits == 8;
  if (packable && planes >= 1 && bits * planes <= 8) return {bits, planes};
  if (colourCount <= 16) return {1, 4};
  return {8, 1};
}

}  // namespace

std::string_view PcxRefusalText(PcxRefusal refusal) {
  for (const auto& entry : kRefusalTexts) {
    if (entry.refusal == refusal) return entry.text;
  }
  return {};
}

PcxRefusal PcxReader::Start(MemoryStream& stream) {
  stream_ = &stream;
  runCount_ = 0;
  runByte_ = 0;

  std::uint8_t header[kPcxHeaderBytes];
  if (stream.Read(header, 1, sizeof header) != static_cast<long>(sizeof header))
    return PcxRefusal::NotPcx;
  if (!KnownVersion(header[kVersion])) return PcxRefusal::NotPcx;
  runLength_ = header[kEncoding] != 0;

  // The colour count is 2 to the power of bits x planes, that product
  // taken as a byte.
  const int bits = header[kBitsPerPixel];
  const int planes = header[kPlanes];
  const auto product = static_cast<std::uint8_t>(bits * planes);
  if (product > 8) return PcxRefusal::TooManyColours;
  colourCount_ = 1 << product;

  colourMap_.fill(0);
  if (colourCount_ <= 16) {
    std::memcpy(colourMap_.data(), header + kHeaderColourMap, 48);
    // A monochrome picture takes its two colours from the header map. A
    // map whose two entries are the same colour (writers that leave it
    // zero) holds none: such pictures are black where a bit is set, on
    // white, as the programs that write them read them back.
    if (bits == 1 && planes == 1 &&
        std::equal(colourMap_.begin(), colourMap_.begin() + 3, colourMap_.begin() + 3)) {
      std::fill_n(colourMap_.begin(), 3, std::uint8_t{255});
      std::fill_n(colourMap_.begin() + 3, 3, std::uint8_t{0});
    }
  } else {
    if (stream.Seek(-static_cast<long long>(kPcxTrailerBytes), MemoryStream::FromEnd) != 0)
      return PcxRefusal::NoPaletteRoom;
    if (stream.ReadByte() != kPcxPaletteMarker) return PcxRefusal::MissingMarker;
    if (stream.Read(colourMap_.data(), 1, colourMap_.size()) !=
        static_cast<long>(colourMap_.size()))
      return PcxRefusal::ShortPalette;
    stream.Seek(kPcxHeaderBytes, MemoryStream::FromStart);
  }

  width_ = static_cast<std::int32_t>(ReadU16(header + kXMax)) - ReadU16(header + kXMin) + 1;
  height_ = static_cast<std::int32_t>(ReadU16(header + kYMax)) - ReadU16(header + kYMin) + 1;
  if (width_ <= 0 || height_ <= 0) return PcxRefusal::NoPixels;

  layout_ = LayoutFor(bits, planes, colourCount_);
  // A plane line holds at least its pixels' bytes. The header's bytes per
  // line gives its stored length when it holds that much (writers pad to
  // an even length, or not at all); otherwise, and when the planes are not
  // read as stored, the pixels' bytes rounded up to an even number.
  pixelBytes_ = (static_cast<std::size_t>(width_) * static_cast<std::size_t>(layout_.bits) + 7) / 8;
  const std::size_t stored = ReadU16(header + kBytesPerLine);
  const bool asStored = layout_.bits == bits && layout_.planes == planes;
  lineBytes_ = asStored && stored >= pixelBytes_ ? stored : pixelBytes_ + (pixelBytes_ & 1);
  planeLines_.assign(pixelBytes_ * static_cast<std::size_t>(layout_.planes), 0);
  return PcxRefusal::None;
}

// Run-length decoding: a byte with both top bits set (when the file is
// encoded) repeats the following byte by its low six bits; any other byte
// stands for itself. A run may reach past the request into the next one,
// and bytes past the end of the data read as FF. Without a destination the
// bytes are decoded and dropped.
void PcxReader::Decode(std::uint8_t* destination, std::size_t count) {
  while (count > 0) {
    if (runCount_ == 0) {
      const int read = stream_->ReadByte();
      if (read < 0) {
        // Past the end every byte is FF, however it is grouped into runs.
        if (destination != nullptr) std::memset(destination, 0xFF, count);
        return;
      }
      const auto b = static_cast<std::uint8_t>(read);
      if (runLength_ && (b & 0xC0) == 0xC0) {
        const int next = stream_->ReadByte();
        runCount_ = b & 0x3F;
        runByte_ = static_cast<std::uint8_t>(next < 0 ? 0xFF : next);
      } else {
        runCount_ = 1;
        runByte_ = b;
      }
    }
    const std::size_t m = std::min(static_cast<std::size_t>(runCount_), count);
    if (destination != nullptr) {
      std::memset(destination, runByte_, m);
      destination += m;
    }
    count -= m;
    runCount_ -= static_cast<int>(m);
  }
}

void PcxReader::ReadRow(std::uint8_t* indices) {
  const auto width = static_cast<std::size_t>(width_);
  const std::size_t padding = lineBytes_ - pixelBytes_;
  if (layout_.bits == 8 && layout_.planes == 1) {
    Decode(indices, width);
    Decode(nullptr, padding);
    return;
  }
  for (int k = 0; k < layout_.planes; ++k) {
    Decode(planeLines_.data() + static_cast<std::size_t>(k) * pixelBytes_, pixelBytes_);
    Decode(nullptr, padding);
  }

  std::memset(indices, 0, width);
  if (layout_.bits == 1) {
    for (int k = 0; k < layout_.planes; ++k)
      AddBitPlane(planeLines_.data() + static_cast<std::size_t>(k) * pixelBytes_, k, indices,
                  width);
    return;
  }
  const int bits = layout_.bits;
  const int perByte = 8 / bits;
  const unsigned mask = (1u << bits) - 1;
  for (int k = 0; k < layout_.planes; ++k) {
    const std::uint8_t* line = planeLines_.data() + static_cast<std::size_t>(k) * pixelBytes_;
    const int shift = k * bits;
    for (std::size_t x = 0; x < width; ++x) {
      const int slot = static_cast<int>(x % static_cast<std::size_t>(perByte));
      const unsigned value =
          (line[x / static_cast<std::size_t>(perByte)] >> (8 - bits * (slot + 1))) & mask;
      indices[x] = static_cast<std::uint8_t>(indices[x] | (value << shift));
    }
  }
}

std::optional<std::vector<std::uint8_t>> DecodePcxImage(std::span<const std::uint8_t> bytes,
                                                        bool sizeOnly, std::size_t limit) {
  try {
    MemoryStream stream(bytes);
    PcxReader reader;
    if (reader.Start(stream) != PcxRefusal::None) return std::nullopt;
    const auto geometry = BmpGeometryFor(reader.width(), reader.height(), limit);
    if (!geometry) return std::nullopt;

    std::vector<std::uint8_t> block(sizeOnly ? kBmpHeaderBytes + kBmpColourTableBytes
                                             : geometry->blockBytes);
    BmpWriter writer(block, *geometry);
    writer.StartOutput();
    if (sizeOnly) return block;

    const std::uint8_t* map = reader.colourMap().data();
    const ColourMap colours{map, map + 1, map + 2, 3};
    writer.PutColourMap(reader.colourCount(), &colours);
    for (std::int32_t y = 0; y < reader.height(); ++y) reader.ReadRow(writer.Row(y));
    return block;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace lumbra

// The LZW decoder on hand-made code streams.
#include <gtest/gtest.h>

#include <vector>

#include "codecs/lzw_decoder.h"
#include "tests/codecs/test_images.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::GifWriter;

// Data sub-blocks of at most `chunk` bytes and the terminator.
Bytes SubBlocks(const Bytes& data, std::size_t chunk = 255) {
  Bytes out;
  for (std::size_t at = 0; at < data.size(); at += chunk) {
    const std::size_t n = std::min(chunk, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.push_back(0);
  return out;
}

Bytes Decode(const Bytes& blocks, int minCodeSize, std::size_t count) {
  LzwDecoder decoder(blocks, minCodeSize);
  Bytes pixels;
  for (std::size_t i = 0; i < count; ++i) pixels.push_back(decoder.NextPixel());
  return pixels;
}

TEST(LzwDecoder, DecodesStringsRepeatsAndTheCodeJustBeingDefined) {
  // clear, 1, 2, 6 (= "1 2"), 8 (the code being defined: "1 2 1"), end.
  const Bytes data =
      SubBlocks(GifWriter::PackCodes({{4, 3}, {1, 3}, {2, 3}, {6, 3}, {8, 4}, {5, 4}}));
  EXPECT_EQ(Decode(data, 2, 10), (Bytes{1, 2, 1, 2, 1, 2, 1, 0, 0, 0}));
}

TEST(LzwDecoder, FirstCodeThatIsNotClearIsTheFirstPixel) {
  const Bytes data = SubBlocks(GifWriter::PackCodes({{3, 3}, {2, 3}, {5, 3}}));
  EXPECT_EQ(Decode(data, 2, 4), (Bytes{3, 2, 0, 0}));
}

TEST(LzwDecoder, CodeAboveTheNextFreeCodeRepeatsThePreviousString) {
  // clear, 1, then 7 while 6 is the next free code: "1" again plus its
  // first character; the code taken forward is 0.
  const Bytes data = SubBlocks(GifWriter::PackCodes({{4, 3}, {1, 3}, {7, 3}, {6, 3}, {5, 3}}));
  EXPECT_EQ(Decode(data, 2, 7), (Bytes{1, 1, 1, 1, 1, 0, 0}));
}

TEST(LzwDecoder, ClearFollowedOnlyByHighCodesEndsWithZeros) {
  const Bytes data = SubBlocks(GifWriter::PackCodes({{4, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}}));
  EXPECT_EQ(Decode(data, 2, 5), Bytes(5, 0));
  EXPECT_EQ(Decode(Bytes{0}, 2, 3), Bytes(3, 0));
  EXPECT_EQ(Decode(Bytes{}, 8, 3), Bytes(3, 0));
}

TEST(LzwDecoder, CodeSizeGrowsToTwelveAndTheTableStopsAt4096) {
  // Literals only, each written at the width the decoder expects: it grows
  // when the next free code reaches the limit, and stays at 12 bits once
  // all 4096 codes are defined.
  std::vector<std::pair<std::uint32_t, int>> codes = {{4, 3}};
  Bytes expected;
  int width = 3;
  int nextFree = 6;
  int limit = 8;
  for (int i = 0; i < 6000; ++i) {
    const auto literal = static_cast<std::uint32_t>((i * 7) % 4);
    codes.push_back({literal, width});
    expected.push_back(static_cast<std::uint8_t>(literal));
    if (i == 0) continue;
    if (nextFree < 4096) {
      ++nextFree;
      if (nextFree >= limit && width < 12) {
        ++width;
        limit *= 2;
      }
    }
  }
  Bytes packed;
  {
    std::uint64_t acc = 0;
    int bits = 0;
    for (auto [code, w] : codes) {
      acc |= std::uint64_t{code} << bits;
      bits += w;
      while (bits >= 8) {
        packed.push_back(static_cast<std::uint8_t>(acc));
        acc >>= 8;
        bits -= 8;
      }
    }
    if (bits > 0) packed.push_back(static_cast<std::uint8_t>(acc));
  }
  EXPECT_EQ(width, 12);
  EXPECT_EQ(Decode(SubBlocks(packed), 2, expected.size()), expected);
  // Sub-blocks of one byte split codes across blocks; the result is the same.
  EXPECT_EQ(Decode(SubBlocks(packed, 1), 2, expected.size()), expected);
  // Whole runs give what pixel-by-pixel decoding gives, across strings.
  const Bytes strings =
      SubBlocks(GifWriter::PackCodes({{4, 3}, {1, 3}, {2, 3}, {6, 3}, {8, 4}, {5, 4}}));
  LzwDecoder runs(strings, 2);
  Bytes pixels(10, 9);
  runs.DecodeInto(pixels.data(), 3);
  runs.DecodeInto(pixels.data() + 3, 7);
  EXPECT_EQ(pixels, Decode(strings, 2, 10));
}

TEST(LzwDecoder, TruncatedDataGivesZerosWithoutReadingPast) {
  Bytes data = SubBlocks(GifWriter::PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}}));
  data.pop_back();  // no terminator
  data[0] = 200;    // and a sub-block claiming more than there is
  const Bytes pixels = Decode(data, 2, 4);
  EXPECT_EQ(pixels, Bytes(4, 0));
}

}  // namespace
}  // namespace lumbra

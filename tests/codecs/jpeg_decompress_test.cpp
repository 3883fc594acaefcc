#include "codecs/jpeg_decompress.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/codecs/decoded_image_probe.h"
#include "tests/codecs/jpeg_fixture.h"

namespace lumbra {
namespace {

using test::DecodedProbe;
using test::JpegPicture;
using test::MakeJpeg;
using test::Rgb;

// Four solid quadrants: red, green over blue, white.
Rgb Quadrant(int x, int y, int size) {
  const bool right = x >= size / 2, bottom = y >= size / 2;
  if (!bottom) return right ? Rgb{0, 200, 0} : Rgb{220, 20, 20};
  return right ? Rgb{255, 255, 255} : Rgb{20, 20, 220};
}

JpegPicture Quadrants(int size = 32) {
  JpegPicture p;
  p.width = p.height = size;
  p.pixel = [size](int x, int y) { return Quadrant(x, y, size); };
  return p;
}

// The average colour of a square around (x, y), as dithering scatters
// single pixels.
Rgb AverageAround(const DecodedProbe& probe, int cx, int cy) {
  int r = 0, g = 0, b = 0, n = 0;
  for (int y = cy - 3; y <= cy + 3; ++y)
    for (int x = cx - 3; x <= cx + 3; ++x, ++n) {
      const Rgb c = probe.Colour(x, y);
      r += c.r, g += c.g, b += c.b;
    }
  return Rgb{static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n),
             static_cast<std::uint8_t>(b / n)};
}

// The offset of the first frame header's marker code in a compressed file.
std::size_t FrameMarkerAt(const std::vector<std::uint8_t>& jpeg) {
  for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) return i + 1;
  ADD_FAILURE() << "no frame header";
  return 0;
}

TEST(JpegDecompress, GreyFileGivesRampAndHeaders) {
  JpegPicture p;
  p.width = 40;
  p.height = 8;
  p.components = 1;
  p.pixel = [](int x, int) { return Rgb{static_cast<std::uint8_t>(x * 6), 0, 0}; };
  const auto block = DecodeJpegImage(MakeJpeg(p), false);
  ASSERT_TRUE(block);
  const DecodedProbe probe{*block};
  const std::uint32_t pixels = 40 * 8;
  ASSERT_EQ(block->size(), 54u + 1024 + pixels);
  EXPECT_EQ((*block)[0], 'B');
  EXPECT_EQ((*block)[1], 'M');
  EXPECT_EQ(probe.U32(2), block->size());
  EXPECT_EQ(probe.U32(6), 0u);
  EXPECT_EQ(probe.U32(10), 54u + 1024);
  EXPECT_EQ(probe.U32(14), 40u);
  EXPECT_EQ(probe.width(), 40);
  EXPECT_EQ(probe.height(), 8);
  EXPECT_EQ(ReadU16(block->data() + 26), 1);
  EXPECT_EQ(ReadU16(block->data() + 28), 8);
  EXPECT_EQ(probe.U32(30), 0u);
  EXPECT_EQ(probe.U32(34), pixels);
  EXPECT_EQ(probe.U32(38), 3000u);
  EXPECT_EQ(probe.U32(42), 3000u);
  EXPECT_EQ(probe.U32(46), 256u);
  EXPECT_EQ(probe.U32(50), 0u);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(probe.Entry(i), 0x010101u * static_cast<unsigned>(i));
  for (int x = 0; x < 40; x += 5) EXPECT_NEAR(probe.Index(x, 4), x * 6, 6) << "x " << x;
}

TEST(JpegDecompress, ColourFileIsQuantizedWithUnusedEntriesBlack) {
  const auto block = DecodeJpegImage(MakeJpeg(Quadrants()), false);
  ASSERT_TRUE(block);
  const DecodedProbe probe{*block};
  EXPECT_EQ(probe.U32(46), 256u);
  // Few colours in, few table entries out; everything after them is black.
  int used = 0;
  for (int i = 0; i < 256; ++i)
    if (probe.Entry(i) != 0) used = i + 1;
  EXPECT_GT(used, 1);
  EXPECT_LT(used, 256);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_LT(probe.Index(x, y), used);
  // Each quadrant keeps its colour and place (rows are stored bottom-up).
  EXPECT_TRUE(test::Near(AverageAround(probe, 8, 8), Rgb{220, 20, 20}, 24));
  EXPECT_TRUE(test::Near(AverageAround(probe, 24, 8), Rgb{0, 200, 0}, 24));
  EXPECT_TRUE(test::Near(AverageAround(probe, 8, 24), Rgb{20, 20, 220}, 24));
  EXPECT_TRUE(test::Near(AverageAround(probe, 24, 24), Rgb{255, 255, 255}, 24));
}

TEST(JpegDecompress, RgbStoredFileUsesOnePassQuantizer) {
  JpegPicture p = Quadrants();
  p.stored = JCS_RGB;
  const auto block = DecodeJpegImage(MakeJpeg(p), false);
  ASSERT_TRUE(block);
  const DecodedProbe probe{*block};
  EXPECT_TRUE(test::Near(AverageAround(probe, 8, 8), Rgb{220, 20, 20}, 40));
  EXPECT_TRUE(test::Near(AverageAround(probe, 24, 24), Rgb{255, 255, 255}, 40));
}

TEST(JpegDecompress, OddWidthRowsArePaddedToFourBytes) {
  JpegPicture p = Quadrants(3);
  p.height = 5;
  const auto block = DecodeJpegImage(MakeJpeg(p), false);
  ASSERT_TRUE(block);
  const DecodedProbe probe{*block};
  EXPECT_EQ(block->size(), 54u + 1024 + 4 * 5);
  EXPECT_EQ(probe.U32(34), 4u * 5);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(probe.RowFromTop(y)[3], 0) << "padding of row " << y;
}

TEST(JpegDecompress, SizeOnlyReadsHeadersWithoutPixels) {
  JpegPicture p = Quadrants();
  p.width = 300;
  p.height = 200;
  const auto block = DecodeJpegImage(MakeJpeg(p), true);
  ASSERT_TRUE(block);
  const DecodedProbe probe{*block};
  EXPECT_EQ(block->size(), 54u + 1024);
  EXPECT_EQ(probe.width(), 300);
  EXPECT_EQ(probe.height(), 200);
  EXPECT_EQ(probe.U32(2), 54u + 1024 + 300 * 200);
}

TEST(JpegDecompress, TruncatedFileStillGivesWholeImage) {
  // Texture makes the scan data, not the tables, the bulk of the file.
  JpegPicture p = Quadrants(64);
  p.pixel = [](int x, int y) {
    Rgb c = Quadrant(x, y, 64);
    c.g = static_cast<std::uint8_t>(c.g / 2 + (x * 7 + y * 13) % 64);
    return c;
  };
  auto jpeg = MakeJpeg(p);
  const auto whole = DecodeJpegImage(jpeg, false);
  ASSERT_TRUE(whole);
  jpeg.resize(jpeg.size() * 6 / 10);
  const auto block = DecodeJpegImage(jpeg, false);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->size(), 54u + 1024 + 64 * 64);
  // The top rows decode as in the whole file.
  EXPECT_TRUE(test::Near(DecodedProbe{*block}.Colour(4, 4), DecodedProbe{*whole}.Colour(4, 4), 30));
}

TEST(JpegDecompress, ExtendedSequentialFrameIsAccepted) {
  auto jpeg = MakeJpeg(Quadrants());
  jpeg[FrameMarkerAt(jpeg)] = 0xC1;
  EXPECT_EQ(JpegFrameMarker(jpeg), 0xC1);
  EXPECT_TRUE(DecodeJpegImage(jpeg, false));
}

TEST(JpegDecompress, RefusesWhatItCannotShow) {
  JpegPicture progressive = Quadrants();
  progressive.progressive = true;
  EXPECT_FALSE(DecodeJpegImage(MakeJpeg(progressive), false)) << "progressive";
  EXPECT_FALSE(DecodeJpegImage(MakeJpeg(progressive), true)) << "progressive, size only";

  JpegPicture arithmetic = Quadrants();
  arithmetic.arithmetic = true;
  const auto arith = MakeJpeg(arithmetic);
  EXPECT_EQ(JpegFrameMarker(arith), 0xC9);
  EXPECT_FALSE(DecodeJpegImage(arith, false)) << "arithmetic coding";

  JpegPicture cmyk = Quadrants();
  cmyk.components = 4;
  EXPECT_FALSE(DecodeJpegImage(MakeJpeg(cmyk), false)) << "CMYK";
  cmyk.stored = JCS_YCCK;
  EXPECT_FALSE(DecodeJpegImage(MakeJpeg(cmyk), false)) << "YCCK";

  const auto good = MakeJpeg(Quadrants());
  const std::size_t frame = FrameMarkerAt(good);
  auto lossless = good;
  lossless[frame] = 0xC3;
  EXPECT_FALSE(DecodeJpegImage(lossless, false)) << "lossless frame";
  auto twelveBit = good;
  twelveBit[frame + 3] = 12;
  EXPECT_FALSE(DecodeJpegImage(twelveBit, false)) << "12-bit samples";

  // APP0 "JFIF" follows the start marker; its major version is byte 11.
  ASSERT_EQ(good[3], 0xE0);
  auto jfif2 = good;
  jfif2[11] = 2;
  EXPECT_FALSE(DecodeJpegImage(jfif2, false)) << "JFIF 2.x";

  std::vector<std::uint8_t> shifted{0x00};
  shifted.insert(shifted.end(), good.begin(), good.end());
  EXPECT_FALSE(DecodeJpegImage(shifted, false)) << "no FF D8 at the start";
  EXPECT_FALSE(DecodeJpegImage(std::vector<std::uint8_t>{0xFF, 0xD8}, false)) << "no frame";
  EXPECT_FALSE(DecodeJpegImage(std::vector<std::uint8_t>(good.begin(), good.begin() + 40), true))
      << "header cut short";
}

TEST(JpegDecompress, ImagesBeyondTheMemoryLimitAreRefused) {
  JpegPicture p = Quadrants();
  p.width = 600;
  p.height = 400;
  const auto jpeg = MakeJpeg(p);
  EXPECT_FALSE(DecodeJpegImage(jpeg, false, 100000));
  EXPECT_TRUE(DecodeJpegImage(jpeg, false, 4000000));
}

}  // namespace
}  // namespace lumbra

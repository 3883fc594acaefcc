#include "codecs/pcx_reader.h"

#include <gtest/gtest.h>

#include "tests/codecs/decoded_image_probe.h"
#include "tests/codecs/pcx_fixture.h"

namespace lumbra {
namespace {

using test::DecodedProbe;
using test::PcxFile;
using test::Rgb;
using test::RunsOfOne;

PcxRefusal StartOn(const std::vector<std::uint8_t>& bytes) {
  MemoryStream stream(bytes);
  PcxReader reader;
  return reader.Start(stream);
}

TEST(PcxReader, EightBitFileUsesTrailerPaletteAndStoresRowsBottomUp) {
  PcxFile f;
  f.data = RunsOfOne({1, 2, 3, 4, 200, 201, 202, 203});
  const auto block = DecodePcxImage(f.Bytes(), false);
  ASSERT_TRUE(block);
  const DecodedProbe probe{*block};
  ASSERT_EQ(block->size(), 54u + 1024 + 4 * 2);
  EXPECT_EQ(probe.width(), 4);
  EXPECT_EQ(probe.height(), 2);
  EXPECT_EQ(probe.U32(46), 256u);
  for (int i = 0; i < 256; i += 51)
    EXPECT_TRUE(test::Near(probe.EntryColour(i),
                           Rgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                               static_cast<std::uint8_t>(i / 2)},
                           0))
        << i;
  EXPECT_EQ((*block)[54 + 1024], 200) << "bottom row first";
  EXPECT_EQ(probe.Index(0, 0), 1);
  EXPECT_EQ(probe.Index(3, 1), 203);
}

TEST(PcxReader, RefusalsAreDistinct) {
  PcxFile f;
  f.data = RunsOfOne({0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(StartOn(f.Bytes()), PcxRefusal::None);

  PcxFile noMarker = f;
  noMarker.trailerMarker = 0x0B;
  EXPECT_EQ(StartOn(noMarker.Bytes()), PcxRefusal::MissingMarker);
  EXPECT_FALSE(DecodePcxImage(noMarker.Bytes(), false));

  PcxFile noTrailer = f;
  noTrailer.trailer = false;
  EXPECT_EQ(StartOn(noTrailer.Bytes()), PcxRefusal::NoPaletteRoom);

  PcxFile version3 = f;
  version3.version = 3;
  EXPECT_EQ(StartOn(version3.Bytes()), PcxRefusal::NotPcx);
  EXPECT_FALSE(DecodePcxImage(version3.Bytes(), false));
  for (std::uint8_t v : {0, 2}) {
    PcxFile accepted = f;
    accepted.version = v;
    EXPECT_EQ(StartOn(accepted.Bytes()), PcxRefusal::None) << "version " << int{v};
  }

  PcxFile truecolour = f;
  truecolour.planes = 3;
  EXPECT_EQ(StartOn(truecolour.Bytes()), PcxRefusal::TooManyColours);
  EXPECT_EQ(PcxRefusalText(PcxRefusal::TooManyColours), "Upto 256 colours supported");

  auto shortHeader = f.Bytes();
  shortHeader.resize(127);
  EXPECT_EQ(StartOn(shortHeader), PcxRefusal::NotPcx);

  auto inverted = f.Bytes();
  inverted[4] = 9;  // x minimum above x maximum
  EXPECT_EQ(StartOn(inverted), PcxRefusal::NoPixels);
}

TEST(PcxReader, SixteenColourPlanesUseHeaderMap) {
  PcxFile f;
  f.bits = 1;
  f.planes = 4;
  f.width = 10;
  f.height = 1;
  f.trailer = false;
  for (int i = 0; i < 48; ++i) f.headerMap[i] = static_cast<std::uint8_t>(100 + i);
  // Plane lines of 2 bytes; pixel x takes bit k of its index from plane k.
  // Pixel 0 = 1111, pixel 1 = 0101, pixel 9 = 1000, all others 0.
  f.data = RunsOfOne({0xC0, 0x00, 0x80, 0x00, 0xC0, 0x00, 0x80, 0x40});
  const auto block = DecodePcxImage(f.Bytes(), false);
  ASSERT_TRUE(block);
  const DecodedProbe probe{*block};
  EXPECT_EQ(probe.Index(0, 0), 15);
  EXPECT_EQ(probe.Index(1, 0), 5);
  EXPECT_EQ(probe.Index(9, 0), 8);
  EXPECT_EQ(probe.Index(4, 0), 0);
  EXPECT_TRUE(test::Near(probe.EntryColour(15), Rgb{145, 146, 147}, 0));
  for (int i = 16; i < 256; ++i) ASSERT_EQ(probe.Entry(i), 0u) << i;
}

TEST(PcxReader, FewerPlanesAndPackedPixelsReadAsStored) {
  PcxFile mono;
  mono.bits = 1;
  mono.width = 9;
  mono.height = 1;
  mono.trailer = false;
  // Two equal entries make no colour map (writers that leave it zero):
  // the set bits are black on white, as the programs writing them read them.
  for (auto& c : mono.headerMap) c = 77;
  mono.data = RunsOfOne({0xA0, 0x80});
  auto block = DecodePcxImage(mono.Bytes(), false);
  ASSERT_TRUE(block);
  DecodedProbe probe{*block};
  EXPECT_EQ(probe.Entry(0), 0xFFFFFFu);
  EXPECT_EQ(probe.Entry(1), 0u);
  EXPECT_EQ(probe.Entry(2), 0u);
  const int monoExpected[9] = {1, 0, 1, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 9; ++x) EXPECT_EQ(probe.Index(x, 0), monoExpected[x]) << x;
  // Two colours in the header map are the picture's two colours.
  const std::uint8_t twoColours[6] = {0, 0, 0, 255, 255, 255};
  std::copy(std::begin(twoColours), std::end(twoColours), mono.headerMap);
  block = DecodePcxImage(mono.Bytes(), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  EXPECT_EQ(probe.Entry(0), 0u);
  EXPECT_EQ(probe.Entry(1), 0xFFFFFFu);
  mono.headerMap[3] = 200;  // entry 1 red
  mono.headerMap[5] = 0;
  block = DecodePcxImage(mono.Bytes(), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  EXPECT_TRUE(test::Near(probe.EntryColour(1), Rgb{200, 255, 0}, 0));

  PcxFile packed4;
  packed4.bits = 4;
  packed4.width = 3;
  packed4.height = 1;
  packed4.trailer = false;
  packed4.headerMap[3 * 9] = 90;
  packed4.data = RunsOfOne({0x9A, 0x30});
  block = DecodePcxImage(packed4.Bytes(), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  EXPECT_EQ(probe.Index(0, 0), 9);
  EXPECT_EQ(probe.Index(1, 0), 10);
  EXPECT_EQ(probe.Index(2, 0), 3);
  EXPECT_EQ(probe.EntryColour(9).r, 90);

  PcxFile cga;
  cga.bits = 2;
  cga.width = 5;
  cga.height = 1;
  cga.trailer = false;
  cga.data = RunsOfOne({0x1B, 0x80});
  block = DecodePcxImage(cga.Bytes(), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  const int cgaExpected[5] = {0, 1, 2, 3, 2};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(probe.Index(x, 0), cgaExpected[x]) << x;
  EXPECT_EQ(probe.Entry(4), 0u);
}

TEST(PcxReader, OddWidthReadsEvenLinesAndPadsRowsToFour) {
  PcxFile f;
  f.width = 5;
  f.height = 2;
  f.data = RunsOfOne({1, 2, 3, 4, 5, 0x77, 6, 7, 8, 9, 10, 0x77});
  const auto block = DecodePcxImage(f.Bytes(), false);
  ASSERT_TRUE(block);
  const DecodedProbe probe{*block};
  EXPECT_EQ(block->size(), 54u + 1024 + 8 * 2);
  EXPECT_EQ(probe.Index(4, 0), 5);
  EXPECT_EQ(probe.Index(0, 1), 6) << "the sixth byte of each line is dropped";
  EXPECT_EQ(probe.Index(4, 1), 10);
  for (int y = 0; y < 2; ++y)
    for (int x = 5; x < 8; ++x) EXPECT_EQ(probe.RowFromTop(y)[x], 0);
}

// Lines as long as the header's bytes per line says when that holds the
// pixels: unpadded odd lines as some writers store them, or longer ones;
// a shorter field falls back to the width rounded up to even.
TEST(PcxReader, RowsFollowTheHeadersBytesPerLine) {
  auto withLineBytes = [](PcxFile f, int lineBytes) {
    std::vector<std::uint8_t> bytes = f.Bytes();
    bytes[66] = static_cast<std::uint8_t>(lineBytes);
    bytes[67] = static_cast<std::uint8_t>(lineBytes >> 8);
    return bytes;
  };
  PcxFile odd;
  odd.width = 5;
  odd.height = 2;
  odd.data = RunsOfOne({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  auto block = DecodePcxImage(withLineBytes(odd, 5), false);
  ASSERT_TRUE(block);
  DecodedProbe probe{*block};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(probe.Index(x, 0), x + 1) << x;
    EXPECT_EQ(probe.Index(x, 1), x + 6) << x;
  }
  odd.data = RunsOfOne({1, 2, 3, 4, 5, 0x77, 0x77, 0x77, 6, 7, 8, 9, 10, 0x77, 0x77, 0x77});
  block = DecodePcxImage(withLineBytes(odd, 8), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  EXPECT_EQ(probe.Index(0, 1), 6) << "three bytes dropped after each line";
  odd.data = RunsOfOne({1, 2, 3, 4, 5, 0x77, 6, 7, 8, 9, 10, 0x77});
  block = DecodePcxImage(withLineBytes(odd, 4), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  EXPECT_EQ(probe.Index(0, 1), 6) << "a field shorter than the width: even lines";

  // Four planes of 12 pixels: each plane line of 2 bytes stored in 3.
  PcxFile planar;
  planar.bits = 1;
  planar.planes = 4;
  planar.width = 12;
  planar.height = 1;
  planar.trailer = false;
  planar.data = RunsOfOne({0xFF, 0xF0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF});
  block = DecodePcxImage(withLineBytes(planar, 3), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  for (int x = 0; x < 12; ++x) EXPECT_EQ(probe.Index(x, 0), 1) << x;

  // A huge field over a file that ends early: the missing bytes read as
  // FF without being decoded one by one.
  PcxFile stretched;
  stretched.width = 1;
  stretched.height = 4000;
  stretched.trailer = true;
  stretched.data = RunsOfOne({9});
  block = DecodePcxImage(withLineBytes(stretched, 65535), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  EXPECT_EQ(probe.RowFromTop(0)[0], 9);
  EXPECT_EQ(probe.RowFromTop(3999)[0], 0xFF);
}

TEST(PcxReader, RunLengthRules) {
  // Encoding 0: every byte stands for itself, even C0..FF.
  PcxFile stored;
  stored.encoding = 0;
  stored.data = {0xC5, 0xFF, 0x01, 0xC1, 0x02, 0x03, 0x04, 0x05};
  auto block = DecodePcxImage(stored.Bytes(), false);
  ASSERT_TRUE(block);
  DecodedProbe probe{*block};
  EXPECT_EQ(probe.Index(0, 0), 0xC5);
  EXPECT_EQ(probe.Index(3, 0), 0xC1);
  EXPECT_EQ(probe.Index(3, 1), 0x05);

  // One run of 6 crosses from the first row into the second; a run of
  // count 0 (C0) writes nothing and swallows its byte.
  PcxFile crossing;
  crossing.data = {0xC6, 0x09, 0xC0, 0x33, 0x01, 0x02};
  block = DecodePcxImage(crossing.Bytes(), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(probe.Index(x, 0), 9);
  EXPECT_EQ(probe.Index(1, 1), 9);
  EXPECT_EQ(probe.Index(2, 1), 1);
  EXPECT_EQ(probe.Index(3, 1), 2);

  // Data that ends early reads on as FF.
  PcxFile shortData;
  shortData.trailer = false;
  shortData.bits = 4;
  shortData.width = 2;
  shortData.height = 2;
  shortData.data = {0x12};
  block = DecodePcxImage(shortData.Bytes(), false);
  ASSERT_TRUE(block);
  probe = DecodedProbe{*block};
  EXPECT_EQ(probe.Index(0, 0), 1);
  EXPECT_EQ(probe.Index(1, 0), 2);
  EXPECT_EQ(probe.Index(0, 1), 15);
}

TEST(PcxReader, EachImageStartsWithNoRunPending) {
  PcxFile first;
  first.trailer = false;
  first.bits = 4;
  first.width = 2;
  first.height = 1;
  first.data = {0xFF, 0x11};  // a run of 63 of which one byte is used
  PcxFile second = first;
  second.data = {0x23};
  const auto a = first.Bytes(), b = second.Bytes();
  PcxReader reader;
  std::uint8_t row[2];
  MemoryStream sa(a);
  ASSERT_EQ(reader.Start(sa), PcxRefusal::None);
  reader.ReadRow(row);
  MemoryStream sb(b);
  ASSERT_EQ(reader.Start(sb), PcxRefusal::None);
  reader.ReadRow(row);
  EXPECT_EQ(row[0], 2);
  EXPECT_EQ(row[1], 3);
}

TEST(PcxReader, SizeOnlyAndOversizedImages) {
  PcxFile f;
  f.width = 640;
  f.height = 480;
  const auto size = DecodePcxImage(f.Bytes(), true);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->size(), 54u + 1024);
  EXPECT_EQ(DecodedProbe{*size}.width(), 640);
  EXPECT_EQ(DecodedProbe{*size}.U32(2), 54u + 1024 + 640 * 480);

  PcxFile huge;
  huge.width = 65536;
  huge.height = 65536;
  EXPECT_FALSE(DecodePcxImage(huge.Bytes(), false)) << "a 4 GB block";
  EXPECT_FALSE(DecodePcxImage(f.Bytes(), false, 100000));
}

}  // namespace
}  // namespace lumbra

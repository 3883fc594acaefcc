// Placeable metafile headers, the metafile length check and icon names.
#include <gtest/gtest.h>

#include "codecs/decoded_image.h"
#include "codecs/icon_name.h"
#include "codecs/wmf_header.h"
#include "tests/codecs/test_images.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::MakePlaceableWmf;

TEST(PlaceableHeader, NeedsTheKeyAndMoreThan22Bytes) {
  const Bytes wmf = MakePlaceableWmf(-10, 20, 1430, 740, 1440);
  const auto header = ReadPlaceableHeader(wmf);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->left, -10);
  EXPECT_EQ(header->top, 20);
  EXPECT_EQ(header->right, 1430);
  EXPECT_EQ(header->bottom, 740);
  EXPECT_EQ(header->unitsPerInch, 1440);
  EXPECT_FALSE(ReadPlaceableHeader(std::span(wmf).first(22)));
  EXPECT_TRUE(ReadPlaceableHeader(std::span(wmf).first(23)));
  // A plain metafile starts with its standard header.
  EXPECT_FALSE(ReadPlaceableHeader(std::span(wmf).subspan(22)));
}

TEST(PlaceableHeader, MetafileLengthIsTwiceTheWordCountAndMustFit) {
  const Bytes wmf = MakePlaceableWmf(0, 0, 100, 100, 96);
  const auto bits = StandardMetafileBits(wmf);
  ASSERT_TRUE(bits);
  EXPECT_EQ(bits->size(), 24u);
  EXPECT_EQ(bits->data(), wmf.data() + 22);

  EXPECT_FALSE(StandardMetafileBits(MakePlaceableWmf(0, 0, 1, 1, 96, 13)));
  EXPECT_FALSE(StandardMetafileBits(MakePlaceableWmf(0, 0, 1, 1, 96, 0x80000001)));
  EXPECT_FALSE(StandardMetafileBits(std::span(wmf).first(30)));

  Bytes record = wmf;  // the end record claims more words than are there
  WriteU32(record.data() + 22 + 18, 4);
  EXPECT_FALSE(StandardMetafileBits(record));
  WriteU32(record.data() + 22 + 18, 0);  // and a record of no size
  EXPECT_FALSE(StandardMetafileBits(record));
}

// One record: its size in words, its function, its parameter words.
Bytes Record(std::uint16_t function, std::initializer_list<std::uint16_t> parameters,
             const Bytes& tail = {}) {
  Bytes out;
  testing::PutU32(out, static_cast<std::uint32_t>(3 + parameters.size() + tail.size() / 2));
  testing::PutU16(out, function);
  for (std::uint16_t word : parameters) testing::PutU16(out, word);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

bool Plays(const Bytes& record, std::uint16_t objects = 0) {
  return StandardMetafileBits(MakePlaceableWmf(0, 0, 100, 100, 96, 0, record, objects)).has_value();
}

// Playback takes counts, object slots and embedded bitmaps as they stand:
// a record whose parameters do not hold what they claim is refused, the
// same record with them is played.
TEST(PlaceableHeader, RecordsMustHoldWhatPlaybackReadsOfThem) {
  EXPECT_TRUE(Plays(Record(0x012D, {11}), 12));  // SelectObject, last slot
  EXPECT_FALSE(Plays(Record(0x012D, {0x7F08}), 12));
  EXPECT_FALSE(Plays(Record(0x012D, {0}), 0));
  EXPECT_FALSE(Plays(Record(0x0228, {0, 2}), 2));  // FillRegion's brush
  EXPECT_TRUE(Plays(Record(0x012C, {0}), 0));      // SelectClipRegion: none

  EXPECT_TRUE(Plays(Record(0x0418, {1, 2, 3, 4})));  // Ellipse
  EXPECT_FALSE(Plays(Record(0x0418, {1, 2, 3})));
  EXPECT_TRUE(Plays(Record(0x0324, {2, 0, 0, 9, 9})));  // Polygon of 2 points
  EXPECT_FALSE(Plays(Record(0x0324, {3, 0, 0, 9, 9})));
  EXPECT_TRUE(Plays(Record(0x0538, {2, 1, 1, 0, 0, 5, 5})));  // PolyPolygon
  EXPECT_FALSE(Plays(Record(0x0538, {2, 1, 2, 0, 0, 5, 5})));
  EXPECT_TRUE(Plays(Record(0x0521, {3, 0x4241, 0x43, 10, 10})));  // TextOut "ABC"
  EXPECT_FALSE(Plays(Record(0x0521, {5, 0x4241, 0x43, 10, 10})));
  // ExtTextOut: the rectangle is there only with the clip or opaque option.
  EXPECT_TRUE(Plays(Record(0x0A32, {0, 0, 2, 0, 0x4241})));
  EXPECT_FALSE(Plays(Record(0x0A32, {0, 0, 2, 4, 0x4241})));
  EXPECT_TRUE(Plays(Record(0x00F7, {0x300, 1, 0, 0})));  // CreatePalette
  EXPECT_FALSE(Plays(Record(0x00F7, {0x300, 2, 0, 0})));
  EXPECT_FALSE(Plays(Record(0x0626, {1, 9, 0, 0})));  // Escape of 9 bytes
  // CreateRegion: eleven words, then one scan of two x's (6 words).
  EXPECT_TRUE(Plays(Record(0x06FF, {0, 6, 0, 0, 34, 1, 2, 0, 0, 9, 9, 2, 0, 1, 0, 9, 2})));
  EXPECT_FALSE(Plays(Record(0x06FF, {0, 6, 0, 0, 34, 1, 2, 0, 0, 9, 9, 4, 0, 1, 0, 9, 2})));
  EXPECT_FALSE(Plays(Record(0x02FB, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x4141})));  // face unended

  // StretchDib with its bitmap: refused when the rows are cut short.
  const Bytes bmp = testing::MakeBmp8(4, 3);
  const Bytes dib(bmp.begin() + 14, bmp.end());
  const std::initializer_list<std::uint16_t> blt = {0x20, 0xCC, 0, 3, 4, 0, 0, 3, 4, 0, 0};
  EXPECT_TRUE(Plays(Record(0x0F43, blt, dib)));
  EXPECT_FALSE(Plays(Record(0x0F43, blt, Bytes(dib.begin(), dib.end() - 4))));
  EXPECT_FALSE(Plays(Record(0x0922, {0x20, 0xCC, 0, 0, 0, 4, 3, 0, 0})));  // device bitmap
  EXPECT_TRUE(Plays(Record(0x7777, {})));  // a function playback ignores
}

TEST(PlaceableHeader, SizesRoundToTheNearestPixel) {
  EXPECT_EQ(MulDivRounded(1440, 96, 1440), 96);
  EXPECT_EQ(MulDivRounded(720, 96, 1440), 48);
  EXPECT_EQ(MulDivRounded(15, 96, 1440), 1);    // 0.5 rounds up
  EXPECT_EQ(MulDivRounded(14, 96, 1440), 1);    // 0.93
  EXPECT_EQ(MulDivRounded(7, 96, 1440), 0);     // 0.47
  EXPECT_EQ(MulDivRounded(-15, 96, 1440), -1);  // halves away from zero
  EXPECT_FALSE(MulDivRounded(100, 96, 0));
  EXPECT_FALSE(MulDivRounded(INT32_MAX, 4, 1));
}

TEST(IconNames, ReferencesIndexesAndResourceMarks) {
  auto icon = ParseIconName(std::string("\xFF\x01\x01\x7F", 4), false);
  EXPECT_EQ(icon.kind, IconReference::Kind::kSystem);
  EXPECT_EQ(icon.id, 0x7F00);
  icon = ParseIconName(std::string("\xFF\x02\x03\x00", 4), false);
  EXPECT_EQ(icon.kind, IconReference::Kind::kProgram);
  EXPECT_EQ(icon.id, 2);
  EXPECT_EQ(ParseIconName(std::string("\xFF\x02\x00\x00", 4), false).kind,
            IconReference::Kind::kNone);

  icon = ParseIconName("C:\\lib[x]\\shell.dll[3]", false);
  EXPECT_EQ(icon.kind, IconReference::Kind::kNamed);
  EXPECT_EQ(icon.name, "C:\\lib[x]\\shell.dll");
  EXPECT_EQ(icon.index, 3);
  EXPECT_FALSE(icon.fromResource);

  icon = ParseIconName("~app.ico", false);
  EXPECT_EQ(icon.name, "app.ico");
  EXPECT_EQ(icon.index, 0);
  EXPECT_TRUE(icon.fromResource);
  EXPECT_TRUE(ParseIconName("app.ico", true).fromResource);

  icon = ParseIconName("!icon:prog.exe[12]", false);
  EXPECT_EQ(icon.name, "prog.exe");
  EXPECT_EQ(icon.index, 12);
  EXPECT_EQ(ParseIconName("big.dll[99999999999]", false).index, INT32_MAX);
}

}  // namespace
}  // namespace lumbra

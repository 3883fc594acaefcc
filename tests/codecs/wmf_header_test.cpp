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

// The colour collector, its reduction to a palette, and the conversion of
// 24-bit images to 8 bits through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <vector>

#include "codecs/decoded_image.h"
#include "display/colour_collector.h"
#include "display/eight_bit_conversion.h"
#include "tests/display/bmp24.h"

namespace lumbra {
namespace {

// Every colour of a reduction is found in a box whose colour is near it:
// the index is in range and the walk of the tree ends in a leaf.
void ExpectIndicesInRange(const ColourCollector& c, const std::vector<Colour>& colours) {
  for (Colour colour : colours) EXPECT_LT(c.FindIndex(colour), c.colours().size());
}

TEST(ColourCollector, AddPixelStaysSortedAndUniqueUnderDuplicates) {
  ColourCollector c;
  std::mt19937 random(7);
  std::set<Colour> expected;
  for (int i = 0; i < 5000; ++i) {
    const Colour colour = random() % 700;  // many repeats
    c.AddPixel(colour);
    expected.insert(colour);
  }
  const std::vector<Colour> held(c.colours().begin(), c.colours().end());
  EXPECT_EQ(held, std::vector<Colour>(expected.begin(), expected.end()));
}

TEST(ColourCollector, HoldsAtMost16000ColoursWhicheverWayTheyCome) {
  ColourCollector c;
  for (Colour i = 0; i < 16001; ++i) c.AddPixel(i * 3);
  EXPECT_EQ(c.colours().size(), 16000u);
  EXPECT_EQ(c.colours().back(), 15999u * 3);
  c.AddPixel(1);  // absent, but the collector is full
  EXPECT_EQ(std::count(c.colours().begin(), c.colours().end(), 1u), 0);

  ColourCollector appended;
  const std::vector<std::uint8_t> table(4 * 16001, 9);
  appended.AddTable(table.data(), 16001);
  appended.AddColour(5);
  EXPECT_EQ(appended.colours().size(), 16000u);
  // Entries are blue, green, red: the colour value has red lowest.
  ColourCollector one;
  const std::uint8_t entry[4] = {0x30, 0x20, 0x10, 0};
  one.AddTable(entry, 1);
  EXPECT_EQ(one.colours()[0], 0x302010u);
}

TEST(ColourCollector, SetAsideKeepsTheColoursWhileTheCollectorIsUsed) {
  ColourCollector c;
  c.AddColour(1);
  c.AddColour(2);
  c.SetAside();
  EXPECT_TRUE(c.empty());
  c.AddPixel(77);
  c.Restore();
  EXPECT_EQ(std::vector<Colour>(c.colours().begin(), c.colours().end()),
            (std::vector<Colour>{1, 2}));
}

TEST(ColourReduction, ThreeHundredColoursBecome236AndEachFindsItsBox) {
  ColourCollector c;
  std::vector<Colour> colours;
  for (std::uint32_t i = 0; i < 300; ++i) {
    colours.push_back(MakeColour(i % 20 * 12, i / 20 * 16, (i * 37) % 256));
  }
  for (Colour colour : colours) c.AddColour(colour);
  for (Colour colour : colours) c.AddColour(colour);  // duplicates go before reducing
  EXPECT_EQ(c.Reduce(236), 236u);
  EXPECT_EQ(c.colours().size(), 236u);
  ExpectIndicesInRange(c, colours);
  // Few enough distinct colours are kept exactly.
  ColourCollector few;
  for (int i = 0; i < 3; ++i) {
    for (Colour colour : {0x0000FFu, 0x00FF00u, 0x808080u, 0xFF0000u}) few.AddColour(colour);
  }
  EXPECT_EQ(few.Reduce(236), 4u);
  for (Colour colour : {0x0000FFu, 0x00FF00u, 0x808080u, 0xFF0000u}) {
    EXPECT_EQ(few.colours()[few.FindIndex(colour)], colour);
  }
}

TEST(ColourReduction, GreysStayInTheGreySubtree) {
  ColourCollector greys;
  for (std::uint32_t v = 0; v < 256; v += 3) greys.AddColour(MakeColour(v, v, v));
  greys.Reduce(16);
  ASSERT_EQ(greys.colours().size(), 16u);
  for (Colour leaf : greys.colours()) EXPECT_TRUE(IsGrey(leaf)) << std::hex << leaf;
  // A colour lookup without a colour subtree still finds a grey box.
  EXPECT_LT(greys.FindIndex(0x0000FF), 16u);

  ColourCollector mixed;
  std::mt19937 random(3);
  for (int i = 0; i < 2000; ++i) mixed.AddColour(random() & 0xFFFFFF);
  for (std::uint32_t v = 0; v < 256; v += 40) mixed.AddColour(MakeColour(v, v, v));
  mixed.Reduce(64);
  for (std::uint32_t v = 0; v < 256; ++v) {
    const Colour leaf = mixed.colours()[mixed.FindIndex(MakeColour(v, v, v))];
    EXPECT_TRUE(IsGrey(leaf)) << v << " found " << std::hex << leaf;
  }
}

TEST(ColourReduction, SmallBoxesWeighDoubleAndTiesGoToTheEarlierComponent) {
  // The six colours form one box that first splits by blue into a pair
  // (reds 0 and 10: spread 50, doubled to 100 for two colours) and a
  // quartet (reds 0, 4, 8, 12: spread 80, not doubled). With n = 3 only
  // one of them splits further: the pair, because of the doubling.
  ColourCollector c;
  for (Colour colour : {MakeColour(0, 1, 0), MakeColour(10, 1, 0)}) c.AddColour(colour);
  for (std::uint32_t r : {0u, 4u, 8u, 12u}) c.AddColour(MakeColour(r, 200, 200));
  EXPECT_EQ(c.Reduce(3), 3u);
  const std::set<Colour> leaves(c.colours().begin(), c.colours().end());
  EXPECT_EQ(leaves,
            (std::set<Colour>{MakeColour(0, 1, 0), MakeColour(10, 1, 0), MakeColour(6, 200, 200)}));

  // Equal spreads in red and green: the box splits by red.
  ColourCollector tie;
  tie.AddColour(MakeColour(0, 0, 9));
  tie.AddColour(MakeColour(8, 8, 9));
  tie.Reduce(2);
  EXPECT_NE(tie.FindIndex(MakeColour(0, 255, 9)), tie.FindIndex(MakeColour(255, 0, 9)));
  EXPECT_EQ(tie.FindIndex(MakeColour(0, 255, 9)), tie.FindIndex(MakeColour(0, 0, 9)));
}

TEST(ColourReduction, ABoxWhoseColoursAllShareTheMeanIsCutInHalves) {
  std::vector<Colour> same(5, MakeColour(40, 1, 2));
  EXPECT_EQ(SplitColours(same, 0, 40), 2u);
  std::vector<Colour> apart = {MakeColour(50, 0, 0), MakeColour(10, 0, 0), MakeColour(60, 0, 0)};
  EXPECT_EQ(SplitColours(apart, 0, 40), 1u);
  EXPECT_EQ(apart[0], MakeColour(10, 0, 0));
}

TEST(EightBitConversion, HeadersTableAndAnExactRoundTripForFewColours) {
  // 37 x 11: rows of 111 bytes padded to 112; 200 distinct colours with
  // runs of equal pixels.
  auto colour = [](std::int32_t x, std::int32_t y) {
    const std::uint32_t n = static_cast<std::uint32_t>((y * 37 + x) / 2 % 200);
    return n % 7 == 0 ? MakeColour(n, n, n) : MakeColour(n, 255 - n, (n * 5) % 256);
  };
  const auto image = testing::MakeBmp24(37, 11, colour);
  ColourCollector collector;
  collector.AddColour(0x123456);
  const auto converted = ConvertTo8Bit(image, collector);
  ASSERT_TRUE(converted.has_value());
  const std::uint8_t* b = converted->data();
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(ReadU32(b + 2), converted->size());
  EXPECT_EQ(converted->size(), 54u + 1024 + 40 * 11);
  EXPECT_EQ(ReadU32(b + 10), 1078u);
  const BitmapInfoHeader h = ReadInfoHeader(b + 14);
  EXPECT_EQ(h.size, 40u);
  EXPECT_EQ(h.width, 37);
  EXPECT_EQ(h.height, 11);
  EXPECT_EQ(h.planes, 1);
  EXPECT_EQ(h.bitCount, 8);
  EXPECT_EQ(h.compression, 0u);
  EXPECT_EQ(h.sizeImage, 40u * 11);
  EXPECT_EQ(h.xPelsPerMeter, 2835);
  EXPECT_EQ(h.yPelsPerMeter, 2836);
  EXPECT_EQ(h.clrUsed, 0u);
  EXPECT_EQ(h.clrImportant, 200u);
  // The table holds the 200 colours, the other entries are zero.
  std::set<Colour> table;
  for (std::uint32_t i = 0; i < 256; ++i) {
    const std::uint8_t* e = b + 54 + 4 * i;
    if (i < 200) {
      table.insert(MakeColour(e[2], e[1], e[0]));
      EXPECT_EQ(e[3], 0);
    } else {
      EXPECT_EQ(ReadU32(e), 0u);
    }
  }
  EXPECT_EQ(table.size(), 200u);
  for (std::int32_t y = 0; y < 11; ++y) {
    const std::uint8_t* row = b + 1078 + 40 * (10 - y);
    for (std::int32_t x = 0; x < 37; ++x) {
      const std::uint8_t* e = b + 54 + 4 * row[x];
      ASSERT_EQ(MakeColour(e[2], e[1], e[0]), colour(x, y)) << x << "," << y;
    }
    EXPECT_EQ(row[37] | row[38] | row[39], 0);
  }
  // The collector has its own colours back.
  ASSERT_EQ(collector.colours().size(), 1u);
  EXPECT_EQ(collector.colours()[0], 0x123456u);
}

TEST(EightBitConversion, ManyColoursBecome256NearOnesAndOtherImagesAreRefused) {
  const auto image = testing::MakeBmp24(64, 64, [](std::int32_t x, std::int32_t y) {
    return MakeColour(static_cast<std::uint32_t>(x * 4), static_cast<std::uint32_t>(y * 4), 128);
  });
  ColourCollector collector;
  const auto converted = ConvertTo8Bit(image, collector);
  ASSERT_TRUE(converted.has_value());
  EXPECT_EQ(ReadInfoHeader(converted->data() + 14).clrImportant, 256u);
  int worst = 0;
  for (std::int32_t y = 0; y < 64; ++y) {
    for (std::int32_t x = 0; x < 64; ++x) {
      const std::uint8_t index = (*converted)[1078 + 64 * (63 - y) + x];
      const std::uint8_t* e = converted->data() + 54 + 4 * index;
      worst =
          std::max({worst, std::abs(e[2] - x * 4), std::abs(e[1] - y * 4), std::abs(e[0] - 128)});
    }
  }
  EXPECT_LE(worst, 16);
  EXPECT_TRUE(collector.empty());

  auto cut = image;
  cut.resize(cut.size() - 1);  // the last row is not all there
  EXPECT_FALSE(ConvertTo8Bit(cut, collector).has_value());
  auto eight = image;
  WriteU16(eight.data() + 28, 8);
  EXPECT_FALSE(ConvertTo8Bit(eight, collector).has_value());
}

}  // namespace
}  // namespace lumbra

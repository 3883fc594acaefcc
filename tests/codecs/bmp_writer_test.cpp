#include "codecs/bmp_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "codecs/jpeg_memory_stream.h"
#include "tests/codecs/decoded_image_probe.h"

namespace lumbra {
namespace {

TEST(BmpWriter, GeometryRoundsRowsAndRefusesImpossibleSizes) {
  const auto g = BmpGeometryFor(3, 7);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->stride, 4u);
  EXPECT_EQ(g->pixelBytes, 28u);
  EXPECT_EQ(g->blockBytes, 54u + 1024 + 28);
  EXPECT_FALSE(BmpGeometryFor(0, 5));
  EXPECT_FALSE(BmpGeometryFor(5, -1));
  EXPECT_FALSE(BmpGeometryFor(65536, 65536, SIZE_MAX)) << "over 4 GB";
  EXPECT_FALSE(BmpGeometryFor(1000, 1000, 1000000));
}

TEST(BmpWriter, ColourMapEntries) {
  const auto g = BmpGeometryFor(1, 1);
  std::vector<std::uint8_t> block(g->blockBytes, 0xEE);
  BmpWriter writer(block, *g);
  const test::DecodedProbe probe{block};

  // A ramp of 16 steps from black to white; the rest black.
  ASSERT_TRUE(writer.PutColourMap(16, nullptr));
  EXPECT_EQ(probe.Entry(0), 0u);
  EXPECT_EQ(probe.Entry(1), 0x111111u);
  EXPECT_EQ(probe.Entry(15), 0xFFFFFFu);
  EXPECT_EQ(probe.Entry(16), 0u);
  EXPECT_EQ(probe.Entry(255), 0u);

  // A map is written blue, green, red, 0.
  const std::uint8_t red[2] = {1, 2}, green[2] = {3, 4}, blue[2] = {5, 6};
  const ColourMap map{red, green, blue, 1};
  ASSERT_TRUE(writer.PutColourMap(2, &map));
  EXPECT_EQ(probe.Entry(1), 0x020406u);
  EXPECT_EQ(probe.Entry(2), 0u);

  EXPECT_FALSE(writer.PutColourMap(257, nullptr));
  EXPECT_TRUE(writer.PutColourMap(1, nullptr)) << "a one-step ramp must not divide by zero";
}

TEST(MemoryStream, ReadsSeeksAndEnds) {
  const std::vector<std::uint8_t> bytes{1, 2, 3, 4, 5};
  MemoryStream s(bytes);
  std::uint8_t buffer[8] = {};
  EXPECT_EQ(s.Read(buffer, 2, 2), 4);
  EXPECT_EQ(buffer[3], 4);
  EXPECT_EQ(s.Read(buffer, 2, 2), 1) << "cut to what is left";
  EXPECT_EQ(s.Read(buffer, 1, 1), -1);
  EXPECT_EQ(s.ReadByte(), -1);
  EXPECT_EQ(s.Seek(-2, MemoryStream::FromEnd), 0);
  EXPECT_EQ(s.ReadByte(), 4);
  EXPECT_EQ(s.Seek(-5, MemoryStream::FromCurrent), -1);
  EXPECT_EQ(s.Seek(6, MemoryStream::FromStart), -1);
  EXPECT_EQ(s.Seek(0, 3), -1);
  EXPECT_EQ(s.position(), 4u);
  s.Skip(100);
  EXPECT_EQ(s.position(), 5u);
}

}  // namespace
}  // namespace lumbra

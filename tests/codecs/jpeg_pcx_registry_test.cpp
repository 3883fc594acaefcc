// JPEG and PCX through the format registry: by content from memory, and
// (in the Windows build) by file name.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "images/bitmap_image.h"
#include "images/format_handlers.h"
#include "images/image_format_registry.h"
#include "tests/codecs/jpeg_fixture.h"
#include "tests/codecs/pcx_fixture.h"
#include "tests/support/file_writer.h"

namespace lumbra {
namespace {

std::vector<std::uint8_t> SmallJpeg() {
  test::JpegPicture p;
  p.width = 21;
  p.height = 13;
  return test::MakeJpeg(p);
}

std::vector<std::uint8_t> SmallPcx() {
  test::PcxFile f;
  f.width = 6;
  f.height = 3;
  f.data = test::RunsOfOne(std::vector<std::uint8_t>(18, 7));
  return f.Bytes();
}

const BitmapImage* AsBitmap(const ImagePtr& image) {
  return dynamic_cast<const BitmapImage*>(image.get());
}

TEST(JpegPcxRegistry, MemoryLoadsFindBothFormatsByContent) {
  const auto jpeg = SmallJpeg();
  ImagePtr image = LoadImageFromMemory(nullptr, jpeg.data(),
                                       static_cast<std::uint32_t>(jpeg.size()), DiscardSource);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 21);
  EXPECT_EQ(image->height(), 13);
  EXPECT_EQ(image->GetExtension(), ".jpg");
  ASSERT_TRUE(AsBitmap(image));
  EXPECT_TRUE(AsBitmap(image)->hasDecodedImage());

  const auto pcx = SmallPcx();
  image = LoadImageFromMemory(nullptr, pcx.data(), static_cast<std::uint32_t>(pcx.size()),
                              DiscardSource);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 6);
  EXPECT_EQ(image->height(), 3);
  EXPECT_EQ(image->GetExtension(), ".pcx");
  // The painted bytes are the written DecodedImage, not the PCX source.
  const auto painted = AsBitmap(image)->PaintedBytes();
  ASSERT_EQ(painted.size(), 54u + 1024 + 8 * 3);
  EXPECT_EQ(painted[54 + 1024], 7);
}

TEST(JpegPcxRegistry, SizeOnlyKeepsNoDecodedBlock) {
  for (const auto& bytes : {SmallJpeg(), SmallPcx()}) {
    ImagePtr image = LoadImageFromMemory(
        nullptr, bytes.data(), static_cast<std::uint32_t>(bytes.size()), DiscardSource | SizeOnly);
    ASSERT_TRUE(image);
    EXPECT_GT(image->width(), 0);
    ASSERT_TRUE(AsBitmap(image));
    EXPECT_FALSE(AsBitmap(image)->hasDecodedImage());
  }
}

TEST(JpegPcxRegistry, DecodersRefuseEachOthersBytes) {
  const auto jpeg = SmallJpeg();
  const auto pcx = SmallPcx();
  EXPECT_FALSE(DecodeJpeg(nullptr, pcx, DiscardSource));
  EXPECT_FALSE(DecodePcx(nullptr, jpeg, DiscardSource));
  EXPECT_FALSE(DecodeJpeg(nullptr, {}, DiscardSource));
  EXPECT_FALSE(DecodePcx(nullptr, {}, DiscardSource));
}

#ifdef _WIN32
TEST(JpegPcxRegistry, FilesLoadByExtension) {
  const auto jpeg = SmallJpeg();
  for (const char* name : {"photo.jpg", "photo.JPE", "photo.jpeg", "photo.jfif"})
    ASSERT_TRUE(testing::WriteBytes(name, jpeg));
  ASSERT_TRUE(testing::WriteBytes("picture.pcx", SmallPcx()));

  for (const char* name : {"photo.jpg", "photo.JPE", "photo.jpeg"}) {
    ImagePtr image = LoadImageByName(nullptr, name, false, DiscardSource);
    ASSERT_TRUE(image) << name;
    EXPECT_EQ(image->width(), 21) << name;
    EXPECT_EQ(image->GetExtension(), ".jpg");
  }
  EXPECT_FALSE(LoadImageByName(nullptr, "photo.jfif", false, DiscardSource));

  ImagePtr pcx = LoadImageByName(nullptr, "picture.pcx", false, DiscardSource);
  ASSERT_TRUE(pcx);
  EXPECT_EQ(pcx->height(), 3);
  EXPECT_FALSE(pcx->hasSource()) << "DiscardSource drops the file's bytes";
  pcx = LoadImageByName(nullptr, "picture.pcx", false, 0);
  ASSERT_TRUE(pcx);
  EXPECT_TRUE(pcx->hasSource());
}
#endif

}  // namespace
}  // namespace lumbra

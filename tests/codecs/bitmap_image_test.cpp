// Bitmap images: the decoder's acceptance, sizes, owners and the checked
// reading of bitmap parts.
#include <gtest/gtest.h>

#include <cmath>

#include "codecs/core_header_bitmap.h"
#include "codecs/decoded_image.h"
#include "images/bitmap_image.h"
#include "tests/codecs/test_images.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::MakeBmp8;
using testing::PutU32;

TEST(BitmapDecoder, NeedsMoreThan58BytesStartingWithBM) {
  Bytes bytes(59, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  WriteU32(bytes.data() + 18, 640);
  WriteU32(bytes.data() + 22, 480);
  auto image = DecodeBitmap(nullptr, bytes, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 640);
  EXPECT_EQ(image->height(), 480);
  EXPECT_EQ(image->GetExtension(), ".bmp");
  EXPECT_EQ(DecodeBitmap(nullptr, std::span(bytes).first(58), 0), nullptr);
  bytes[1] = 'A';
  EXPECT_EQ(DecodeBitmap(nullptr, bytes, 0), nullptr);
}

TEST(BitmapDecoder, KeepsTheHeightAsStored) {
  const Bytes bottomUp = MakeBmp8(5, 3);
  const Bytes topDown = MakeBmp8(5, -3);
  auto up = DecodeBitmap(nullptr, bottomUp, 0);
  auto down = DecodeBitmap(nullptr, topDown, 0);
  ASSERT_TRUE(up && down);
  EXPECT_EQ(up->height(), 3);
  EXPECT_EQ(down->height(), -3);
  EXPECT_EQ(down->width(), 5);
}

// A core-header bitmap (12-byte header, 16-bit width and height, 3-byte
// colour entries) of 3 x 2 pixels at 8 bits, padded past 58 bytes.
Bytes CoreHeaderBmp() {
  Bytes out = {'B', 'M'};
  const std::uint32_t offset = 14 + 12 + 3 * 3;
  for (std::uint32_t v : {offset + 8, 0u, offset, 12u}) PutU32(out, v);
  for (std::uint16_t v : {3, 2, 1, 8}) testing::PutU16(out, v);
  out.insert(out.end(), {10, 20, 30, 40, 50, 60, 70, 80, 90});  // blue, green, red
  out.insert(out.end(), {0, 1, 2, 0, 2, 1, 0, 0});              // two rows of 4 bytes
  out.resize(64, 0xEE);
  return out;
}

// A core header's width and height are 16-bit; the picture is painted from
// a DecodedImage with the usual header and 4-byte colour entries.
TEST(BitmapDecoder, CoreHeaderBitmapsHaveTheir16BitSizeAndAnInformationHeader) {
  const Bytes core = CoreHeaderBmp();
  auto image = DecodeBitmapImage(nullptr, core, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 3);
  EXPECT_EQ(image->height(), 2);
  const auto layout = CheckDecodedImage(image->PaintedBytes());
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->header.size, 40u);
  EXPECT_EQ(layout->header.width, 3);
  EXPECT_EQ(layout->header.height, 2);
  ASSERT_EQ(layout->colourCount, 3u);
  EXPECT_EQ(ReadU32(layout->colours + 4), 0x003C3228u) << "entry 1: blue 40, green 50, red 60";
  ASSERT_TRUE(layout->complete());
  EXPECT_EQ(layout->bits[4], 2) << "the second row as the file holds it";
  EXPECT_EQ(layout->bits[5], 1);

  auto sized = DecodeBitmapImage(nullptr, core, SizeOnly);
  ASSERT_NE(sized, nullptr);
  EXPECT_EQ(sized->width(), 3);
  EXPECT_FALSE(sized->hasDecodedImage());
  Bytes deep = core;
  deep[24] = 16;  // a bit count a core header cannot have
  EXPECT_FALSE(ExpandCoreHeaderBitmap(deep));
  Bytes lying = core;
  WriteU32(lying.data() + 10, 4000);  // rows beyond the file
  EXPECT_FALSE(ExpandCoreHeaderBitmap(lying));
}

struct FakePalette : PaletteTarget {
  int dirty = 0;
  std::vector<std::uint8_t> colours;
  void MarkDirty() override { ++dirty; }
  void AddColourTable(const std::uint8_t* entries, std::uint32_t count) override {
    colours.assign(entries, entries + 4 * count);
  }
};

struct FakeOwner : ImageOwner {
  bool deviceUnits = false;
  bool keepsPalette = false;
  FakePalette palette;
  int dcs = 0;
  bool UsesDeviceUnits() override { return deviceUnits; }
  NativeDc GetDc() override {
    ++dcs;
    return nullptr;
  }
  void ReleaseDc(NativeDc) override { --dcs; }
  bool KeepsPalette() override { return keepsPalette; }
  PaletteTarget* Palette() override { return &palette; }
};

TEST(BitmapOwner, PaletteIsRecordedMarkedDirtyAndFedFromTheColourTable) {
  FakeOwner owner;
  owner.keepsPalette = true;
  owner.deviceUnits = true;
  const Bytes bmp = MakeBmp8(2, 2, 3);
  auto image = DecodeBitmapImage(&owner, bmp, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(owner.dcs, 0);  // every context taken is given back
  EXPECT_EQ(image->windowPalette(), &owner.palette);
  EXPECT_EQ(owner.palette.dirty, 1);
  image->KeepOwnedSource(bmp);
  image->AddColours(&owner.palette);
  ASSERT_EQ(owner.palette.colours.size(), 12u);
  EXPECT_EQ(owner.palette.colours[8], 255);  // third grey entry is white
  image.reset();
  EXPECT_EQ(owner.palette.dirty, 2);  // releasing marks it again
}

TEST(BitmapOwner, DeviceUnitsScaleFrom75DotsPerInch) {
  EXPECT_EQ(ScaleToDeviceUnits(75, 96), 96);
  EXPECT_EQ(ScaleToDeviceUnits(100, 96), 128);
  EXPECT_EQ(ScaleToDeviceUnits(10, 120), 16);
  EXPECT_EQ(ScaleToDeviceUnits(-10, 96), -12);  // truncated toward zero
  EXPECT_EQ(ScaleToDeviceUnits(33, 0), 33);
}

// An image decoded ahead without an owner, adopted, is what the owner's own
// load makes: its palette recorded and marked once, the placement wanted.
// An owner in device units leaves it to a load of its own.
TEST(BitmapOwner, AnImageDecodedWithoutAnOwnerIsAdoptedAsTheOwnerWouldLoadIt) {
  FakeOwner owner;
  owner.keepsPalette = true;
  const Bytes bmp = MakeBmp8(3, 2);
  auto adopted = AdoptForOwner(DecodeBitmap(nullptr, bmp, 0), &owner, kPlaceTiled);
  ASSERT_NE(adopted, nullptr);
  auto* bitmap = dynamic_cast<BitmapImage*>(adopted.get());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->windowPalette(), &owner.palette);
  EXPECT_EQ(owner.palette.dirty, 1);
  EXPECT_EQ(adopted->flags() & kPlacementMask, kPlaceTiled);
  EXPECT_EQ(adopted->width(), 3);
  adopted = AdoptForOwner(std::move(adopted), &owner, kPlaceCentred);
  ASSERT_NE(adopted, nullptr);
  EXPECT_EQ(adopted->flags() & kPlacementMask, kPlaceCentred);

  owner.deviceUnits = true;
  EXPECT_EQ(AdoptForOwner(DecodeBitmap(nullptr, bmp, 0), &owner, kPlaceStretched), nullptr);
  EXPECT_EQ(owner.dcs, 0);
  EXPECT_EQ(AdoptForOwner(nullptr, &owner, kPlaceStretched), nullptr);
}

TEST(BitmapImageOps, PlacementPropertiesAndCovering) {
  const Bytes bmp = MakeBmp8(2, 2);
  auto image = DecodeBitmap(nullptr, bmp, 0);
  ASSERT_NE(image, nullptr);
  std::string value;
  EXPECT_TRUE(image->SetProperty(kPropTiled, "1"));
  EXPECT_EQ(image->flags() & kPlacementMask, kPlaceTiled);
  EXPECT_TRUE(image->GetProperty(kPropTiled, value));
  EXPECT_EQ(value, "1");
  EXPECT_TRUE(image->SetProperty(kPropCentred, "0"));  // mode 1 not set: unchanged
  EXPECT_EQ(image->flags() & kPlacementMask, kPlaceTiled);
  EXPECT_TRUE(image->SetProperty(kPropCentred, "5"));
  EXPECT_EQ(image->flags() & kPlacementMask, kPlaceCentred);
  EXPECT_FALSE(image->CoversRectangle());
  EXPECT_TRUE(image->SetProperty(kPropCentred, "0"));
  EXPECT_EQ(image->flags() & kPlacementMask, kPlaceStretched);
  EXPECT_TRUE(image->CoversRectangle());
  EXPECT_FALSE(image->SetProperty(0x7A18, "1"));
  EXPECT_FALSE(image->GetProperty(0x7A18, value));

  auto sizeOnly = DecodeBitmap(nullptr, bmp, SizeOnly);
  ASSERT_NE(sizeOnly, nullptr);
  EXPECT_FALSE(sizeOnly->CoversRectangle());
}

TEST(BitmapImageOps, SizeOnlyPaintsNothingButSourceIsStillHandedOut) {
  const Bytes bmp = MakeBmp8(4, 4);
  auto image = DecodeBitmapImage(nullptr, bmp, SizeOnly);
  ASSERT_NE(image, nullptr);
  image->KeepOwnedSource(bmp);
  EXPECT_TRUE(image->PaintedBytes().empty());
  std::string text;
  EXPECT_TRUE(image->GetSourceString(text));
  EXPECT_EQ(text.size(), bmp.size());
}

TEST(BitmapImageOps, ResourceSourceBecomesAnOwnedCopyWhenHandedOut) {
  const Bytes bmp = MakeBmp8(4, 4);
  auto image = DecodeBitmap(nullptr, bmp, 0);
  image->KeepResourceSource(bmp);
  EXPECT_TRUE(image->flags() & SourceIsResource);
  std::span<const std::uint8_t> handed;
  EXPECT_TRUE(image->GetSourceHandle(handed));
  EXPECT_FALSE(image->flags() & SourceIsResource);
  EXPECT_NE(handed.data(), bmp.data());
  EXPECT_TRUE(std::equal(handed.begin(), handed.end(), bmp.begin(), bmp.end()));
}

TEST(DecodedImageLayout, FindsPartsAndCountsOnlyRowsThatFit) {
  Bytes bmp = MakeBmp8(5, 3, 4);  // stride 8
  auto layout = CheckDecodedImage(bmp);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->stride, 8u);
  EXPECT_EQ(layout->colourCount, 4u);
  EXPECT_EQ(layout->rowsPresent, 3u);
  EXPECT_EQ(layout->bits, bmp.data() + 14 + 40 + 16);

  bmp.resize(bmp.size() - 9);  // the last row and one byte more are gone
  layout = CheckDecodedImage(bmp);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->rowsPresent, 1u);
  EXPECT_FALSE(layout->complete());
}

TEST(DecodedImageLayout, RefusesPartsOutsideTheBytes) {
  const Bytes good = MakeBmp8(5, 3, 4);
  Bytes offset = good;
  WriteU32(offset.data() + 10, 0x7FFFFFF0);
  EXPECT_FALSE(CheckDecodedImage(offset));
  Bytes colours = good;
  WriteU32(colours.data() + 14 + 32, 0x40000000);  // colours used
  EXPECT_FALSE(CheckDecodedImage(colours));
  Bytes header = good;
  WriteU32(header.data() + 14, 0x10000);  // header size
  EXPECT_FALSE(CheckDecodedImage(header));
  Bytes bits = good;
  WriteU16(bits.data() + 14 + 14, 7);
  EXPECT_FALSE(CheckDecodedImage(bits));
  Bytes wide = good;
  WriteU32(wide.data() + 18, 0x7FFFFFFF);
  const auto layout = CheckDecodedImage(wide);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->rowsPresent, 0u);
  EXPECT_FALSE(CheckDecodedImage(std::span(good).first(59)));

  // A 32-bit bitfield bitmap with a 56-byte header: its masks follow the
  // header and must be inside the bytes as well.
  Bytes masks = good;
  WriteU32(masks.data() + 14, 56);
  WriteU16(masks.data() + 14 + 14, 32);
  WriteU32(masks.data() + 14 + 16, 3);
  WriteU32(masks.data() + 14 + 32, 0);
  WriteU32(masks.data() + 18, 1);
  WriteU32(masks.data() + 22, 1);
  WriteU32(masks.data() + 10, 14 + 56 + 12);
  masks.resize(14 + 56 + 12 + 4);
  EXPECT_TRUE(CheckDecodedImage(masks));
  masks.resize(14 + 56 + 8);
  WriteU32(masks.data() + 10, 14 + 56);
  EXPECT_FALSE(CheckDecodedImage(masks));
}

TEST(DecodedImageLayout, RunLengthRowsCountOnlyWhenAllTheirBytesArePresent) {
  Bytes bmp = MakeBmp8(4, 4);
  WriteU32(bmp.data() + 14 + 16, 1);  // RLE8
  WriteU32(bmp.data() + 14 + 20, 16);
  auto layout = CheckDecodedImage(bmp);
  ASSERT_TRUE(layout);
  EXPECT_TRUE(layout->complete());
  WriteU32(bmp.data() + 14 + 20, 17);
  layout = CheckDecodedImage(bmp);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->rowsPresent, 0u);
}

}  // namespace
}  // namespace lumbra

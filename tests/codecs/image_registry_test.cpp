// The format registry: lookup by name, the walk over handlers, memory loads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "images/bitmap_image.h"
#include "images/image_format_registry.h"
#include "images/image_formats.h"
#include "images/image_source.h"
#include "tests/codecs/test_images.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::MakeBmp8;

// Records what the registry asked of its handlers.
struct Calls {
  std::vector<std::string> names;
  std::vector<bool> fromResource;
  int decoded = 0;
};
Calls calls;

ImagePtr FailingLoader(ImageOwner*, std::string_view name, bool fromResource, ImageLoadFlags) {
  calls.names.push_back("fail:" + std::string(name));
  calls.fromResource.push_back(fromResource);
  return nullptr;
}

ImagePtr SizedLoader(ImageOwner*, std::string_view name, bool fromResource, ImageLoadFlags flags) {
  calls.names.push_back("load:" + std::string(name));
  calls.fromResource.push_back(fromResource);
  auto image = std::make_unique<BitmapImage>(flags);
  image->SetSize(7, 9);
  return image;
}

ImagePtr CountingDecoder(ImageOwner*, std::span<const std::uint8_t>, ImageLoadFlags) {
  ++calls.decoded;
  return nullptr;
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { calls = Calls{}; }
};

TEST_F(RegistryTest, ExtensionIsCutToFourCharactersAndIconNamesAreIco) {
  EXPECT_EQ(LookupExtension("photo.jpeg"), ".jpe");
  EXPECT_EQ(LookupExtension("photo.jfif"), ".jfi");
  EXPECT_EQ(LookupExtension("dir.x/archive.tar.gz"), ".gz");
  EXPECT_EQ(LookupExtension("README"), "");
  EXPECT_EQ(LookupExtension("!icon:shell32.dll"), ".ICO");
  EXPECT_EQ(LookupExtension(std::string("\xFF\x01\x02\x00", 4)), ".ICO");
}

TEST_F(RegistryTest, RefusesExtensionsLongerThanFour) {
  ImageFormatRegistry registry;
  EXPECT_TRUE(registry.Register(".JPE", SizedLoader, nullptr));
  EXPECT_FALSE(registry.Register(".JPEG", SizedLoader, nullptr));
  ASSERT_EQ(registry.handlers().size(), 1u);
  EXPECT_STREQ(registry.handlers()[0].extension, ".JPE");
}

TEST_F(RegistryTest, BuiltInTableHoldsTwelveEntriesInOrder) {
  ImageFormatRegistry registry;
  RegisterBuiltInFormats(registry);
  std::vector<std::string> extensions;
  for (const auto& handler : registry.handlers()) extensions.push_back(handler.extension);
  const std::vector<std::string> expected = {".EXE", ".DLL", ".ICO", ".CUR", ".ANI", ".WMF",
                                             ".TMP", ".JPG", ".JPE", ".PCX", ".BMP", ".GIF"};
  EXPECT_EQ(extensions, expected);
}

// What the rest of the program reads from the same table: the types a
// folder lists, the formats decoded ahead and the Open dialog's filter.
TEST(ImageFormats, ListedTypesPrefetchedFormatsAndDialogFilterComeFromTheTable) {
  for (const char* type : {"BMP", "wmf", "ICO", "pcx", "GIF", "jpg"}) {
    EXPECT_TRUE(IsListedImageType(type)) << type;
  }
  for (const char* type : {"JPE", "CUR", "EXE", "TMP", "BM", ""}) {
    EXPECT_FALSE(IsListedImageType(type)) << type;
  }
  for (const char* extension : {".BMP", ".gif", ".JPG", ".jpe", ".PCX"}) {
    EXPECT_TRUE(IsDecodedAheadExtension(extension)) << extension;
  }
  for (const char* extension : {".ICO", ".WMF", ".EXE", ".TMP", ".CUR", "BMP", ""}) {
    EXPECT_FALSE(IsDecodedAheadExtension(extension)) << extension;
  }
  EXPECT_EQ(ImageDialogFilter(),
            "Windows Bitmaps (*.BMP)|*.BMP|Windows Metafiles *.WMF)|*.WMF|Icons (*.ICO)|*.ICO|"
            "PCX Files (*.PCX)|*.PCX|GIF Files (*.GIF)|*.GIF|JPEG Files (*.JPG)|*.JPG|"
            "All Files (*.*)|*.*");
}

TEST_F(RegistryTest, WalkGoesOnAfterAFailingLoaderAndCaseIsIgnored) {
  ImageFormatRegistry registry;
  registry.Register(".GIF", SizedLoader, nullptr);
  registry.Register(".JPE", FailingLoader, nullptr);
  registry.Register(".jpe", SizedLoader, nullptr);
  ImagePtr image = registry.LoadByName(nullptr, "Photo.JPEG", false, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 7);
  EXPECT_EQ(calls.names, (std::vector<std::string>{"fail:Photo.JPEG", "load:Photo.JPEG"}));
}

TEST_F(RegistryTest, TildeSelectsResourcesAndIsNotPassedOn) {
  ImageFormatRegistry registry;
  registry.Register(".BMP", FailingLoader, nullptr);
  EXPECT_EQ(registry.LoadByName(nullptr, "~dot.bmp", false, 0), nullptr);
  EXPECT_EQ(registry.LoadByName(nullptr, "dot.bmp", false, 0), nullptr);
  EXPECT_EQ(calls.names, (std::vector<std::string>{"fail:dot.bmp", "fail:dot.bmp"}));
  EXPECT_EQ(calls.fromResource, (std::vector<bool>{true, false}));
}

TEST_F(RegistryTest, NamesWithoutHandlerOrDotYieldNothing) {
  ImageFormatRegistry registry;
  registry.Register(".JPE", SizedLoader, nullptr);
  registry.Register("", SizedLoader, nullptr);
  EXPECT_EQ(registry.LoadByName(nullptr, "photo.jfif", false, 0), nullptr);
  EXPECT_EQ(registry.LoadByName(nullptr, "photo", false, 0), nullptr);
  EXPECT_TRUE(calls.names.empty());
}

TEST_F(RegistryTest, MemoryLoadTriesEveryDecoderUntilOneAccepts) {
  ImageFormatRegistry registry;
  registry.Register(".A", nullptr, CountingDecoder);
  registry.Register(".B", SizedLoader, nullptr);
  registry.Register(".C", nullptr, CountingDecoder);
  registry.Register(".BMP", nullptr, DecodeBitmap);
  const Bytes bmp = MakeBmp8(3, 2);
  ImagePtr image = registry.LoadFromMemory(nullptr, bmp.data(),
                                           static_cast<std::uint32_t>(bmp.size()), DiscardSource);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(calls.decoded, 2);
  // A bitmap paints from its bytes, so it keeps a copy even when asked not to.
  EXPECT_TRUE(image->hasSource());
  EXPECT_EQ(image->sourceSize(), bmp.size());
  EXPECT_NE(image->sourceBytes().data(), bmp.data());
  EXPECT_EQ(registry.LoadFromMemory(nullptr, nullptr, 10, 0), nullptr);
  EXPECT_EQ(registry.LoadFromMemory(nullptr, bmp.data(), 0, 0), nullptr);
  EXPECT_EQ(calls.decoded, 2);
}

TEST_F(RegistryTest, ResourceNameFollowsTheDotRule) {
  EXPECT_EQ(ImageResourceName("~dot.bmp"), "DOT_BMP");
  EXPECT_EQ(ImageResourceName("My.Pic.gif"), "MY_PIC_GIF");
}

}  // namespace
}  // namespace lumbra

// Hostile files through the platform path the viewer takes: loaded by an
// image control, painted in every placement, copied to the clipboard.
// Files that lie about their parts give no image and never a fault; the
// sound files beside them still show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "codecs/decoded_image.h"
#include "tests/codecs/test_images.h"
#include "tests/support/file_writer.h"
#include "tools/platform_fuzz/image_stage_win32.h"

namespace lumbra {
namespace {

using testing::Bytes;

TEST(HostileFiles, LyingIconsCursorsProgramsAndMetafilesGiveNoImage) {
  Bytes garbage = testing::MakeIco();
  for (std::size_t i = 6; i < 22; ++i) garbage[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 37));
  Bytes pastEnd = testing::MakeIco();
  WriteU32(pastEnd.data() + 18, static_cast<std::uint32_t>(pastEnd.size() + 64));
  Bytes lyingChunk = testing::MakeAni(testing::MakeIco());
  WriteU32(lyingChunk.data() + 12 + 8 + 36 + 4, 0x7FFFFFF0u);
  testing::IconLibraryLayout at;
  Bytes lyingTree = testing::MakeIconLibrary(testing::MakeIconImage(16, 16), &at);
  WriteU32(lyingTree.data() + at.iconData + 4, 0x00100000);
  Bytes overrun = testing::MakePlaceableWmf(0, 0, 1440, 720, 1440);
  WriteU32(overrun.data() + 22 + 18, 0x4000);  // the last record claims 32 KB

  testing::WriteBytes("garbage-directory.ico", garbage);
  testing::WriteBytes("entry-past-end.ico", pastEnd);
  testing::WriteBytes("lying-chunk.ani", lyingChunk);
  testing::WriteBytes("lying-tree.dll", lyingTree);
  testing::WriteBytes("record-overrun.wmf", overrun);
  ImageStage stage;
  for (const char* name : {"garbage-directory.ico", "entry-past-end.ico", "lying-chunk.ani",
                           "lying-tree.dll", "record-overrun.wmf"}) {
    EXPECT_FALSE(stage.Show(name)) << name;
  }

  testing::WriteBytes("sound.ico", testing::MakeIco());
  testing::WriteBytes("sound.dll", testing::MakeIconLibrary(testing::MakeIconImage(16, 16)));
  testing::WriteBytes("sound.wmf", testing::MakePlaceableWmf(0, 0, 1440, 720, 1440));
  // (The platform extracts no icons from cursor files, sound or not.)
  for (const char* name :
       {"sound.ico", "sound.dll", "sound.wmf", "C:\\windows\\system32\\shell32.dll[3]"}) {
    EXPECT_TRUE(stage.Show(name)) << name;
  }
}

// A control that takes its image's natural size takes a top-down
// bitmap's height as its magnitude.
TEST(HostileFiles, TopDownBitmapsGiveTheControlTheirMagnitude) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ImageControl control(window, kPlaceStretched, nullptr);
  control.Assign("hostile/top-down-8bit-16x8.bmp");
  ASSERT_NE(control.image(), nullptr);
  EXPECT_EQ(control.image()->height(), -8);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 16);
  EXPECT_EQ(r.bottom - r.top, 8);
  control.Assign("");
  DestroyWindow(window);
}

// Every regression file kept from the mutation runs loads as no image or
// as its real size, and goes through painting and copying without a fault.
TEST(HostileFiles, RegressionFilesLoadAsNoImageOrTheirRealSize) {
  ImageStage stage;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator("hostile")) {
    const std::string name = entry.path().string();
    SIZE size{};
    const bool loaded = stage.Show(name, &size);
    ++files;
    if (!loaded) continue;
    // A name ending "-WxH.ext" gives the real size of a file that loads.
    const std::string stem = entry.path().stem().string();
    const std::size_t dash = stem.rfind('-');
    const std::size_t x = stem.rfind('x');
    if (dash == std::string::npos || x == std::string::npos || x < dash) {
      ADD_FAILURE() << name << " loaded but its name gives no size";
      continue;
    }
    EXPECT_EQ(size.cx, std::stol(stem.substr(dash + 1, x - dash - 1))) << name;
    // A top-down bitmap keeps its negative height as stored.
    EXPECT_EQ(std::abs(size.cy), std::stol(stem.substr(x + 1))) << name;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace lumbra

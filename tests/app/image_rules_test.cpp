// The portable rules of the image list and of ShowImage: splitting
// argument texts, path types, the fit and zoom arithmetic, status texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/argument_items.h"
#include "app/image_fit.h"
#include "app/path_text.h"
#include "app/status_texts.h"

namespace lumbra {
namespace {

using Items = std::vector<std::string>;

TEST(ArgumentItems, BlanksQuotesAndDropCommas) {
  EXPECT_EQ(ArgumentItems("  A.GIF   B.GIF ", false), (Items{"A.GIF", "B.GIF"}));
  EXPECT_EQ(ArgumentItems("\"C:\\MY PICS\\A B.GIF\" C.GIF", false),
            (Items{"C:\\MY PICS\\A B.GIF", "C.GIF"}));
  // An unterminated quote takes the rest of the text.
  EXPECT_EQ(ArgumentItems("A.GIF \"C:\\MY PICS\\A B.GIF", false),
            (Items{"A.GIF", "C:\\MY PICS\\A B.GIF"}));
  // A drop separates by commas, so blanks stay inside its paths.
  EXPECT_EQ(ArgumentItems("C:\\MY PICS\\A.GIF,C:\\B C.BMP", true),
            (Items{"C:\\MY PICS\\A.GIF", "C:\\B C.BMP"}));
  // Doubled and leading commas hold empty items, which are skipped.
  EXPECT_EQ(ArgumentItems(",A.GIF,,B\"C,\"D.GIF\",,E", true),
            (Items{"A.GIF", "B\"C", "D.GIF", "E"}));
  // A one-character item at the very end is read.
  EXPECT_EQ(ArgumentItems("A.GIF B", false), (Items{"A.GIF", "B"}));
  EXPECT_EQ(ArgumentItems("X", false), (Items{"X"}));
  EXPECT_TRUE(ArgumentItems("    ", false).empty());
}

TEST(PathText, NamesTypesAndImageTypesOfLongPaths) {
  const std::string deep = "C:\\" + std::string(80, 'D') + "\\PHOTO.JPEG";
  EXPECT_EQ(NameOfPath(deep), "PHOTO.JPEG");
  EXPECT_EQ(TypeOfPath(deep), "JPE");
  EXPECT_EQ(TypeOfPath("C:\\" + std::string(80, 'D') + "\\photo.jpg"), "jpg");
  EXPECT_EQ(TypeOfPath("C:\\DIR.GIF\\README"), "");
  EXPECT_TRUE(IsImageType("jpg"));
  EXPECT_TRUE(IsImageType("BMP"));
  EXPECT_FALSE(IsImageType("JPE"));
  EXPECT_FALSE(IsImageType("MP"));  // a part of a type is not a type
  EXPECT_FALSE(IsImageType(""));
}

ControlPlace Fit(std::int32_t width, std::int32_t height) {
  return BestFitPlace(800, 600, 0, width, height);
}

TEST(BestFit, ScalesLargeImagesExactlyAndCentresSmallOnes) {
  const ControlPlace wide = Fit(2000, 1000);
  EXPECT_DOUBLE_EQ(wide.scale.value(), 0.4);
  EXPECT_EQ(wide.width, 800);
  EXPECT_EQ(wide.height, 400);
  // The width ratio would make it 1600 high: the height ratio is taken.
  const ControlPlace tall = Fit(1000, 2000);
  EXPECT_DOUBLE_EQ(tall.scale.value(), 0.28);
  EXPECT_EQ(tall.width, 280);
  EXPECT_EQ(tall.height, 560);
  // An image smaller than the window keeps its size, centred.
  const ControlPlace small = BestFitPlace(800, 600, 30, 200, 100);
  EXPECT_EQ(small.width, 200);
  EXPECT_EQ(small.height, 100);
  EXPECT_EQ(small.x, 300);
  EXPECT_EQ(small.y, 240);  // (600 - 100) / 2 - 30 + 20
  // Ratios that binary fractions cannot hold still fill their side.
  EXPECT_EQ(Fit(2400, 300).width, 800);
  EXPECT_EQ(Fit(3 * 560, 3 * 560).height, 560);
  EXPECT_EQ(Fit(700, 1680).height, 560);
  // A window smaller than its bars gives nothing negative.
  const ControlPlace none = BestFitPlace(10, 20, 0, 50, 50);
  EXPECT_EQ(none.height, 0);
  EXPECT_GE(none.width, 0);
  EXPECT_GE(none.y, 0);
}

TEST(Zoom, ProductsAreExactAndTruncated) {
  EXPECT_EQ(ZoomedLength(50, 333), 166);
  EXPECT_EQ(ZoomedLength(50, 201), 100);
  EXPECT_EQ(ZoomedLength(1, 333), 3);
  EXPECT_EQ(ZoomedLength(300, 333), 999);
  EXPECT_EQ(ZoomedLength(0, 333), 0);
  EXPECT_EQ(ZoomedLength(32767, 32767), 32767LL * 32767 / 100);
  // The largest zoom keeps the longer side within 32,767 pixels, and one
  // more would not; small images stop at 999 %, whose text the zone holds.
  for (const auto& [width, height] : {std::pair{4000, 60}, {60, 4000}, {32767, 1}, {3281, 7}}) {
    const std::int32_t zoom = LargestZoom(width, height);
    EXPECT_LE(ZoomedLength(zoom, std::max(width, height)), 32767) << width << "x" << height;
    EXPECT_GT(ZoomedLength(zoom + 1, std::max(width, height)), 32767) << width << "x" << height;
  }
  EXPECT_EQ(LargestZoom(4000, 60), 819);
  EXPECT_EQ(LargestZoom(3280, 7), 999);
  EXPECT_EQ(LargestZoom(1, 1), 999);
  EXPECT_EQ(LargestZoom(0, 0), 999);
}

TEST(StatusTexts, Zones) {
  EXPECT_EQ(PathStatus("C:\\PICS\\A.GIF", 3, 12), "C:\\PICS\\A.GIF  (3 of 12)");
  EXPECT_EQ(SizeStatus(false, 640, 480), "640x480");
  EXPECT_EQ(SizeStatus(true, 640, 480), "Bad Image");
  EXPECT_EQ(ZoomStatus(100), "100%");
  EXPECT_EQ(ModeStatus(1), "Normal");
  EXPECT_EQ(ModeStatus(2), "Stretched");
  EXPECT_EQ(ModeStatus(3), "Tiled");
  EXPECT_EQ(ModeStatus(4), "Best Fit");
  EXPECT_EQ(ModeStatus(9), "");
}

}  // namespace
}  // namespace lumbra

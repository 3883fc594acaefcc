// The viewer's three popup texts read as the menus the user sees.
#include "app/viewer_popups.h"

#include <gtest/gtest.h>

#include "tests/winrt/popup_menu_outline.h"
#include "winrt/popup_menu_text.h"

namespace lumbra {
namespace {

TEST(ViewerPopups, MainPopupWithTheZoomEntriesNumbersItsEntriesOneToTwenty) {
  MainPopupText main = InitialMainPopup();
  EXPECT_EQ(main.full().substr(kZoomPlaceholderOffset - 6, 6), "&Zoom{");
  EXPECT_EQ(main.full().substr(kZoomPlaceholderOffset, kZoomEntriesLength),
            std::string(kZoomEntriesLength, ' '));
  EXPECT_EQ(main.full()[kZoomPlaceholderOffset + kZoomEntriesLength], '}');
  FillZoomPlaceholder(main, ZoomPopupText(kZoomPopupEntries));
  EXPECT_EQ(Outline(ParsePopupMenuText(main.clipped())),
            "&Properties=1|-|&Normal=2|&Stretched=3|&Tiled=4|&Best Fit=5|-|"
            "&Zoom{25%=6|50%=7|75%=8|100%=9|125%=10|150%=11|175%=12|200%=13|-|&Custom...=14}|"
            "&Copy to ClipBoard{Copy Image=15|Copy Path && File Name=16}|-|&Image List...=17|-|"
            "&Open Image...=18|&Load Folder...=19|-|E&xit=20");
  using namespace MainPopupEntry;
  const auto entries = ParsePopupMenuText(main.clipped());
  auto numberOf = [&](std::string_view text) {
    for (const PopupEntry& e : entries) {
      if (e.text == text) return e.number;
    }
    return 0;
  };
  EXPECT_EQ(numberOf("&Properties"), Properties);
  EXPECT_EQ(numberOf("&Best Fit"), BestFit);
  EXPECT_EQ(numberOf("25%"), FirstZoomStep);
  EXPECT_EQ(numberOf("200%"), LastZoomStep);
  EXPECT_EQ(numberOf("&Custom..."), CustomZoom);
  EXPECT_EQ(numberOf("Copy Path && File Name"), CopyPath);
  EXPECT_EQ(numberOf("&Image List..."), ImageList);
  EXPECT_EQ(numberOf("E&xit"), Exit);
}

TEST(ViewerPopups, ZoomAndSortEntriesStandAloneAndTakeTheirMarks) {
  EXPECT_EQ(Outline(ParsePopupMenuText(ZoomPopupText(kZoomPopupEntries).clipped())),
            "25%=1|50%=2|75%=3|100%=4|125%=5|150%=6|175%=7|200%=8|-|&Custom...=9");
  SortPopupText sort(kSortPopupEntries);
  EXPECT_EQ(Outline(ParsePopupMenuText(sort.clipped())),
            "None=1|Path=2|Name=3|Type=4|Size=5|Date=6");
  // A mark is the first character of an entry: "+" checks it.
  sort[sort.full().find("-Size")] = '+';
  EXPECT_EQ(Outline(ParsePopupMenuText(sort.clipped())),
            "None=1|Path=2|Name=3|Type=4|+Size=5|Date=6");
  // The program's own copies start as the texts above.
  EXPECT_EQ(ZoomPopup, kZoomPopupEntries);
  EXPECT_EQ(SortPopup, kSortPopupEntries);
  EXPECT_EQ(MainPopup, InitialMainPopup());
}

}  // namespace
}  // namespace lumbra

// Marking entries of the viewer's popup texts in place.
#include "app/popup_marks.h"

#include <gtest/gtest.h>

#include <string>

#include "app/viewer_popups.h"

namespace lumbra {
namespace {

TEST(PopupMarks, MarkEntriesOfTheViewersTexts) {
  MainPopupText main = InitialMainPopup();
  std::span<char> chars(main.data(), main.size());
  // The mode entries are pieces 2 to 5; Stretched checked.
  MarkPiece(chars, 3, '+');
  MarkBefore(chars, "Zoom{", '~');
  MarkBefore(chars, "Image List...", '~');
  const std::string text(main.clipped());
  EXPECT_NE(text.find("|-&Normal|+&Stretched|-&Tiled|"), std::string::npos) << text;
  EXPECT_NE(text.find("|~Zoom{"), std::string::npos) << text;
  EXPECT_NE(text.find("|~Image List...|"), std::string::npos) << text;
  // The zoom entries: Custom is piece 9, after the separator.
  ZoomPopupText zoom(kZoomPopupEntries);
  MarkPiece({zoom.data(), zoom.size()}, 9, '+');
  MarkPiece({zoom.data(), zoom.size()}, 12, '+');  // no such piece
  EXPECT_EQ(zoom.full(), "-25%|-50%|-75%|-100%|-125%|-150%|-175%|-200%|-|+&Custom...");
  FillZoomPlaceholder(main, zoom);
  EXPECT_NE(std::string(main.clipped()).find("{-25%|"), std::string::npos);
}

}  // namespace
}  // namespace lumbra

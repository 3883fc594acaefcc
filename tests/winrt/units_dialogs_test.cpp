#include <gtest/gtest.h>

#include "winrt/dialogs.h"
#include "winrt/units.h"

namespace lumbra {
namespace {

TEST(Units, DialogUnitsScaleByTheFontsBaseUnits) {
  UnitScale scale;
  scale.baseX = 6;
  scale.baseY = 13;
  EXPECT_EQ(scale.ToPixels({10, 20, 41, 17}), (UnitRect{15, 33, 62, 28}));
  EXPECT_EQ(scale.ToUnits({15, 33, 62, 28}), (UnitRect{10, 20, 41, 17}));
  EXPECT_EQ(scale.XToPixels(-10), -15);
  scale.pixels = true;
  EXPECT_EQ(scale.ToPixels({10, 20, 41, 17}), (UnitRect{10, 20, 41, 17}));
  EXPECT_EQ(ScaleRounded(5, 3, 0), 0);
  EXPECT_EQ(ScaleRounded(INT32_MAX, 13, 8),
            static_cast<std::int32_t>((static_cast<std::int64_t>(INT32_MAX) * 13 + 4) / 8));
}

TEST(MessageDialogLayout, ButtonsCaptionsAndLines) {
  const auto buttons = MessageDialogButtons(BUTTON::Cancel + BUTTON::Yes + BUTTON::No);
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0].caption, "&Yes");
  EXPECT_EQ(buttons[1].caption, "&No");
  EXPECT_EQ(buttons[2].caption, "Cancel");
  EXPECT_EQ(buttons[2].nativeId, 2);  // IDCANCEL
  EXPECT_EQ(MessageDialogButtons(255).size(), 8u);
  EXPECT_EQ(MessageDialogButtons(0).front().caption, "OK");
  const auto named = MessageDialogButtons(0, "Keep|Drop");
  ASSERT_EQ(named.size(), 2u);
  EXPECT_EQ(named[1].caption, "Drop");
  EXPECT_EQ(named[1].code, 2);
  EXPECT_EQ(MessageDialogLines("One|Two||"), "One\r\nTwo\r\n\r\n");
}

TEST(FileDialogTexts, FilterAndFolderChoice) {
  EXPECT_EQ(PlatformFilter("Images|*.BMP;*.GIF|All|*.*"),
            std::string("Images\0*.BMP;*.GIF\0All\0*.*\0\0", 28));
  EXPECT_EQ(FolderOfChoice("C:\\Pictures\\Holiday\\-"), "C:\\Pictures\\Holiday\\");
  EXPECT_EQ(FolderOfChoice("C:\\"), "C:\\");
  EXPECT_EQ(FolderOfChoice("nothing"), "");
}

}  // namespace
}  // namespace lumbra

// Popup-menu texts read into their entries and numbers.
#include "winrt/popup_menu_text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/winrt/popup_menu_outline.h"

namespace lumbra {
namespace {

std::string Read(std::string_view text) { return Outline(ParsePopupMenuText(text)); }

TEST(PopupMenuText, NumbersItemsAcrossSubMenusSkippingSeparatorsAndTitles) {
  const auto entries = ParsePopupMenuText("Open|-|~Save|Recent{One|Two}|Exit");
  EXPECT_EQ(Outline(entries), "Open=1|-|~Save=2|Recent{One=3|Two=4}|Exit=5");
  EXPECT_EQ(PopupItemCount(entries), 5);
  // Check marks, and the "-" of an explicitly unchecked item is not shown.
  EXPECT_EQ(Read("+Sorted|-Unsorted"), "+Sorted=1|Unsorted=2");
  EXPECT_EQ(Read("~+Greyed and checked|~-Greyed"), "~+Greyed and checked=1|~Greyed=2");
  // Leading and doubled separators of items are ignored, in sub-menus too.
  EXPECT_EQ(Read("|A||B"), "A=1|B=2");
  EXPECT_EQ(Read("S{|A||B}|C"), "S{A=1|B=2}|C=3");
  // A sub-menu closes straight into the next item; nesting goes on.
  EXPECT_EQ(Read("A{B{C}D}E"), "A{B{C=1}|D=2}|E=3");
  // Mnemonics and "&&" pass on as written; blanks inside an item stay.
  EXPECT_EQ(Read("&Open Image...|Copy Path && File Name"),
            "&Open Image...=1|Copy Path && File Name=2");
}

TEST(PopupMenuText, DamagedTextsGiveWhatTheyHoldAndNeverMore) {
  // Nothing to choose from.
  for (const char* text : {"", "|", "-", "-|-|-", "||", "   ", "}"}) {
    const auto entries = ParsePopupMenuText(text);
    EXPECT_EQ(PopupItemCount(entries), 0) << text;
  }
  // A "}" without its "{" ends the outermost level.
  EXPECT_EQ(Read("A|B}C|D"), "A=1|B=2");
  // A "{" without its "}" takes the rest of the text.
  EXPECT_EQ(Read("A|Sub{B|C"), "A=1|Sub{B=2|C=3}");
  // A sub-menu without a title holds its items.
  EXPECT_EQ(Read("{A}B"), "{A=1}|B=2");
  // Blank padding of a fixed-length text is no item.
  EXPECT_EQ(Read("Z{      }X|   "), "Z{}|X=1");
  // Hostile nesting is read without recursion.
  const std::string deep = std::string(200000, '{') + "X";
  const auto entries = ParsePopupMenuText(deep);
  ASSERT_EQ(PopupItemCount(entries), 1);
  EXPECT_EQ(entries.back().parent, 199999);
}

TEST(PopupMenuText, ItemTextsHoldAtMost1023Characters) {
  const std::string longest(1023, 'x');
  auto entries = ParsePopupMenuText("~+" + longest + "|B");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].text, longest);
  EXPECT_TRUE(entries[0].disabled && entries[0].checked);
  EXPECT_EQ(entries[1].number, 2);
  entries = ParsePopupMenuText(std::string(5000, 'y') + "{A}");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].text, std::string(1023, 'y'));
  EXPECT_EQ(entries[1].number, 1);
}

}  // namespace
}  // namespace lumbra

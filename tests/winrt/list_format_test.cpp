// List formats read into columns, laid out in pixels, and the cells of a
// row read from a queue of image-list records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error_state.h"
#include "tests/winrt/image_list_queue.h"
#include "winrt/list_cells.h"
#include "winrt/list_format.h"
#include "winrt/list_layout.h"

namespace lumbra {
namespace {

using testing::kFileListFormat;

TEST(ListFormatTest, TheFileListFormatHasItsFourColumns) {
  const ListFormat f = ParseListFormat(kFileListFormat);
  ASSERT_EQ(f.columns.size(), 4u);
  EXPECT_TRUE(f.groups.empty());
  struct Want {
    std::int32_t width;
    ListAlign data, header;
    std::string text, picture;
    std::int32_t field;
    std::uint32_t flags;
    std::int32_t scroll;
  };
  using namespace ListFlag;
  const Want want[] = {
      {116, ListAlign::Left, ListAlign::Left, "Path", "@S255", 1,
       RightBorder | Resizable | Scrolling, 255},
      {57, ListAlign::Left, ListAlign::Left, "Name", "@S255", 2, RightBorder | Resizable, 0},
      {42, ListAlign::Right, ListAlign::Left, "Size", "@N9", 3, RightBorder | Resizable, 0},
      {20, ListAlign::Left, ListAlign::Left, "Date", "@S20", 4, NewLine, 0},
  };
  for (std::size_t i = 0; i < 4; ++i) {
    const ListColumn& c = f.columns[i];
    SCOPED_TRACE(want[i].text);
    EXPECT_EQ(c.width, want[i].width);
    EXPECT_EQ(c.align, want[i].data);
    EXPECT_EQ(c.header.align, want[i].header);
    EXPECT_EQ(c.indent, 1);
    EXPECT_EQ(c.header.indent, 1);
    EXPECT_EQ(c.header.text, want[i].text);
    EXPECT_EQ(c.header.lines, 1);
    EXPECT_EQ(c.picture, want[i].picture);
    EXPECT_EQ(c.field, want[i].field);
    EXPECT_EQ(c.flags, want[i].flags);
    EXPECT_EQ(c.scrollWidth, want[i].scroll);
  }
  EXPECT_EQ(f.highestField, 4);
  EXPECT_TRUE(f.HasHeader());
  EXPECT_TRUE(f.Scrolls());
  EXPECT_EQ(f.marked, -1);
}

TEST(ListFormatTest, FieldsAreNumberedInOrderPastWhatEachColumnUses) {
  // "*" uses four fields after the column's, "I" and "T" one each.
  ListFormat f = ParseListFormat("10L*10LI10LT10L10L#2 10L");
  std::vector<std::int32_t> fields;
  for (const auto& c : f.columns) fields.push_back(c.field);
  EXPECT_EQ(fields, (std::vector<std::int32_t>{1, 6, 8, 10, 2, 3}));
  EXPECT_EQ(f.highestField, 10);

  f = ParseListFormat("20L#3@S5@20R");
  ASSERT_EQ(f.columns.size(), 2u);
  EXPECT_EQ(f.columns[0].field, 3);
  EXPECT_EQ(f.columns[1].field, 4);
  EXPECT_EQ(f.highestField, 4);
  EXPECT_EQ(ParseListFormat("20L#3*").highestField, 7);  // its colours are fields too
}

TEST(ListFormatTest, ItemsAndModifiersOfAColumn) {
  const ListFormat f = ParseListFormat(
      "30C(2)@S5@@N3@E(255,,65280)?mF_S~Two\nLines~R(3)H(7)|"
      "20DT(L1RBI)H10LE(1,2,3,4,5,6)?");
  ASSERT_EQ(f.columns.size(), 3u);
  const ListColumn& a = f.columns[0];
  EXPECT_EQ(a.align, ListAlign::Centre);
  EXPECT_EQ(a.indent, 2);
  EXPECT_EQ(a.picture, "@S5");  // the first picture counts
  EXPECT_EQ(a.colours, (ListColours{255, -1, 65280, -1}));
  using namespace ListFlag;
  EXPECT_EQ(a.flags,
            Marked | Resizable | Fixed | BottomBorder | Scrolling | HeldNumber | RightBorder);
  EXPECT_EQ(a.scrollWidth, kDefaultScrollWidth);
  EXPECT_EQ(a.heldNumber, 7);
  EXPECT_EQ(a.header.text, "Two\nLines");
  EXPECT_EQ(a.header.lines, 2);
  EXPECT_EQ(a.header.align, ListAlign::Right);
  EXPECT_EQ(a.header.indent, 3);

  const ListColumn& b = f.columns[1];
  EXPECT_EQ(b.align, ListAlign::Decimal);
  EXPECT_EQ(b.flags, Tree);  // "H" without a number sets nothing
  EXPECT_EQ(b.treeOptions, TreeOption::Lines | TreeOption::FromOne | TreeOption::Root |
                               TreeOption::Boxes | TreeOption::Indented);
  EXPECT_EQ(f.columns[2].colours, (ListColours{1, 2, 3, 4}));
  EXPECT_EQ(f.marked, 2);  // the last marked column
  EXPECT_EQ(f.FixedColumns(), 1u);
  EXPECT_FALSE(ParseListFormat("20L|M@S20@").HasHeader());
}

TEST(ListFormatTest, GroupsLayTheirLinesOutAndTheHeadersAbove) {
  const ListFormat f = ParseListFormat("[20L~A~/30R~B~](60)|~Group~C 10L0L");
  ASSERT_EQ(f.groups.size(), 1u);
  ASSERT_EQ(f.columns.size(), 4u);
  EXPECT_EQ(f.groups[0].first, 0u);
  EXPECT_EQ(f.groups[0].count, 2u);
  EXPECT_EQ(f.groups[0].width, 60);
  EXPECT_EQ(f.groups[0].header.text, "Group");
  EXPECT_EQ(f.groups[0].header.align, ListAlign::Centre);
  EXPECT_EQ(f.groups[0].flags, ListFlag::RightBorder);
  EXPECT_EQ(f.columns[1].group, 0);
  EXPECT_EQ(f.columns[2].group, -1);

  UnitScale units;
  units.baseX = 6;  // 1 unit = 1.5 pixels
  const ListLayout l = LayOutList(f, units, 13);
  EXPECT_EQ(l.lines, 2);
  EXPECT_EQ(l.rowHeight, 26);
  EXPECT_EQ(l.columns[0].left, 0);
  EXPECT_EQ(l.columns[0].right, 30);
  EXPECT_EQ(l.columns[1].left, 0);  // after "/": the group's left edge, one line lower
  EXPECT_EQ(l.columns[1].right, 45);
  EXPECT_EQ(l.columns[1].line, 1);
  EXPECT_EQ(l.groups[0].width, 90);  // the width the group was given
  EXPECT_EQ(l.columns[2].left, 90);
  EXPECT_EQ(l.columns[2].right, 105);
  // A column of width 0 takes no space; its right edge lies left of its left.
  EXPECT_EQ(l.columns[3].left, 105);
  EXPECT_EQ(l.columns[3].right, 104);
  EXPECT_EQ(l.totalWidth, 105);
  // The group's header band, then one band for each line's column headers.
  EXPECT_EQ(l.groups[0].headerBottom, 15);
  EXPECT_EQ(l.columns[0].headerTop, 15);
  EXPECT_EQ(l.columns[1].headerTop, 30);
  EXPECT_EQ(l.headerHeight, 45);
}

TEST(ListFormatTest, WidthsAndIndentsConvertLikeXValuesAndBoundariesDrag) {
  const ListFormat f = ParseListFormat(kFileListFormat);
  UnitScale units;
  units.baseX = 6;
  ListLayout l = LayOutList(f, units, 13);
  EXPECT_EQ(l.columns[0].width, 174);
  EXPECT_EQ(l.columns[0].indent, 2);  // 1.5 rounds away from zero
  EXPECT_EQ(l.columns[0].scrollWidth, 383);
  EXPECT_EQ(l.columns[1].left, 174);
  EXPECT_EQ(l.totalWidth, 174 + 86 + 63 + 30);
  EXPECT_EQ(l.headerHeight, 15);
  EXPECT_EQ(l.rowHeight, 13);

  EXPECT_EQ(BoundaryAt(l, f, 176, 0, 3), 0);
  EXPECT_EQ(BoundaryAt(l, f, 180, 0, 3), -1);
  EXPECT_EQ(BoundaryAt(l, f, 353, 0, 3), -1);  // the Date column is not resizable
  ResizeColumn(l, f, 0, 100);
  EXPECT_EQ(l.columns[0].right, 100);
  EXPECT_EQ(l.columns[1].left, 100);
  EXPECT_EQ(l.totalWidth, 100 + 86 + 63 + 30);

  units.pixels = true;
  EXPECT_EQ(LayOutList(f, units, 13).columns[0].width, 116);
}

TEST(ListFormatTest, DamagedFormatsStillReadToTheirEnd) {
  const char* damaged[] = {"((((",
                           "[[[[",
                           "]]]",
                           "~unterminated",
                           "@",
                           "@N9",
                           "E(1,2",
                           "E(,,,,,,,,)",
                           "99999999999999999L",
                           "-",
                           "#",
                           "#-5L",
                           "T(",
                           "[20L",
                           "20L(",
                           "S(",
                           "H(",
                           "[](-7)",
                           "\n\t\x01\xff",
                           "99999999999999999L99999999999999999L99999999999999999L"};
  for (const char* text : damaged) {
    SCOPED_TRACE(text);
    const ListFormat f = ParseListFormat(text);
    for (const ListColumn& c : f.columns) EXPECT_GE(c.field, 1);
    const ListLayout l = LayOutList(f, UnitScale{}, 13);
    EXPECT_GE(l.totalWidth, 0);
    EXPECT_GE(l.rowHeight, 13);
  }
  EXPECT_EQ(ParseListFormat("#-5L").columns.at(0).field, 1);
  EXPECT_EQ(ParseListFormat("99999999999L").columns.at(0).width, 32767);
  // The highest field counts the fields read after the largest field number.
  EXPECT_EQ(ParseListFormat("#99999*I").highestField, 32767 + 5);
}

TEST(ListRowsTest, CellsAreTheFieldsThroughTheColumnsPictures) {
  testing::ImageListQueue list;
  list.Fill(3);
  const ListFormat f = ParseListFormat(kFileListFormat);
  const ListRows rows(f);
  std::vector<ListCell> cells;
  SetErrorState(30);  // the list leaves the program's error state alone
  ASSERT_TRUE(rows.Row(list.queue, 2, cells));
  EXPECT_EQ(ERRORCODE(), 30);
  ASSERT_EQ(cells.size(), 4u);
  EXPECT_EQ(cells[0].text, "C:\\PICTURES\\");
  EXPECT_EQ(cells[1].text, "IMAGE2.GIF");
  EXPECT_EQ(cells[2].text, "2,474");  // @N9, without the blanks it is laid out in
  EXPECT_EQ(cells[3].text, testing::ImageDateText(2));
  EXPECT_FALSE(rows.Row(list.queue, 4, cells));
  EXPECT_FALSE(rows.Row(list.queue, 0, cells));
  EXPECT_TRUE(cells.empty());
  ClearErrorState();

  // Dates through a date picture; per-row colours; a field the record
  // lacks shows nothing.
  const ListFormat g = ParseListFormat("40L#5@D4@20L#3*E(1,2,3,4)20L#9");
  const ListRows dated(g);
  ASSERT_TRUE(dated.Row(list.queue, 1, cells));
  EXPECT_EQ(cells[0].text, "October 24, 2007");
  // Fields 4 to 7 (date text, date, time, type) give the colours.
  EXPECT_EQ(cells[1].colours[kListBack], testing::ImageDate(1));
  EXPECT_EQ(cells[1].colours[kListSelectedText], testing::ImageTime(1));
  EXPECT_EQ(cells[2].text, "");
}

}  // namespace
}  // namespace lumbra

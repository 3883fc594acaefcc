// Fuzz target: list formats read into columns and groups, laid out in
// pixels at several unit scales, a column boundary dragged, and the cells
// of two rows of an image-list queue formatted through the columns'
// pictures, as the list control does when it is created and painted.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/fixed_text.h"
#include "fuzz/fuzz_check.h"
#include "tests/winrt/image_list_queue.h"
#include "winrt/list_cells.h"
#include "winrt/list_format.h"
#include "winrt/list_layout.h"

namespace {

using namespace lumbra;

constexpr std::int32_t kLineHeight = 13;

// The queue fields a column reads: its own, then its colours, icon and level.
std::int64_t LastFieldOf(const ListColumn& c) {
  std::int64_t last = c.field;
  if (c.flags & ListFlag::Colours) last += 4;
  if (c.flags & ListFlag::Icon) last += 1;
  if (c.flags & ListFlag::Tree) last += 1;
  return last;
}

void CheckHeader(const ListHeader& h) {
  if (h.lines == 0) {
    FUZZ_CHECK(h.text.empty());
  } else {
    FUZZ_CHECK(h.lines == 1 + std::count(h.text.begin(), h.text.end(), '\n'));
  }
}

void CheckFormat(const ListFormat& f, std::string_view text) {
  const auto columns = static_cast<std::int64_t>(f.columns.size());
  for (std::size_t i = 0; i < f.columns.size(); ++i) {
    const ListColumn& c = f.columns[i];
    // Every field the column reads is one the queue is asked to have.
    FUZZ_CHECK(c.field >= 1 && LastFieldOf(c) <= f.highestField);
    FUZZ_CHECK(c.group >= -1 && c.group < static_cast<std::int32_t>(f.groups.size()));
    if (c.group >= 0) {
      const ListGroup& g = f.groups[static_cast<std::size_t>(c.group)];
      FUZZ_CHECK(i >= g.first && i < g.first + g.count);
    }
    FUZZ_CHECK(c.picture.empty() ||
               (c.picture[0] == '@' && c.picture.find('@', 1) == std::string::npos));
    FUZZ_CHECK(c.picture.size() <= text.size() && c.header.text.size() <= text.size());
    CheckHeader(c.header);
  }
  // Groups hold runs of columns, in order, that name them.
  std::size_t next = 0;
  for (std::size_t g = 0; g < f.groups.size(); ++g) {
    const ListGroup& group = f.groups[g];
    FUZZ_CHECK(group.first >= next && group.first + group.count <= f.columns.size());
    for (std::size_t i = group.first; i < group.first + group.count; ++i) {
      FUZZ_CHECK(f.columns[i].group == static_cast<std::int32_t>(g));
    }
    next = group.first + group.count;
    CheckHeader(group.header);
  }
  FUZZ_CHECK(f.marked >= -1 && f.marked < columns);
  for (std::int64_t i = f.marked + 1; i < columns; ++i) {
    FUZZ_CHECK(!(f.columns[static_cast<std::size_t>(i)].flags & ListFlag::Marked));
  }
  if (f.marked >= 0)
    FUZZ_CHECK(f.columns[static_cast<std::size_t>(f.marked)].flags & ListFlag::Marked);
  FUZZ_CHECK(f.FixedColumns() <= f.columns.size());
}

// Extents are non-negative and consistent with their widths; every column
// lies on a line of the row and inside the header row.
void CheckLayout(const ListLayout& l, const ListFormat& f) {
  FUZZ_CHECK(l.columns.size() == f.columns.size() && l.groups.size() == f.groups.size());
  FUZZ_CHECK(l.lines >= 1 && l.rowHeight == l.lines * l.lineHeight);
  FUZZ_CHECK(l.totalWidth >= 0 && l.headerHeight >= 0);
  FUZZ_CHECK((l.headerHeight > 0) == f.HasHeader());
  for (std::size_t i = 0; i < l.columns.size(); ++i) {
    const ColumnBox& b = l.columns[i];
    FUZZ_CHECK(b.width >= 0 && b.left >= 0 && b.scrollWidth >= 0);
    FUZZ_CHECK(b.right == (b.width > 0 ? b.left + b.width : b.left - 1));
    FUZZ_CHECK(b.line >= 0 && b.line < l.lines);
    FUZZ_CHECK(b.headerTop >= 0 && b.headerTop <= b.headerBottom);
    if (l.headerHeight > 0) FUZZ_CHECK(b.headerBottom <= l.headerHeight);
    if (f.columns[i].group < 0) FUZZ_CHECK(b.left <= l.totalWidth);
  }
  for (std::size_t g = 0; g < l.groups.size(); ++g) {
    const GroupBox& b = l.groups[g];
    FUZZ_CHECK(b.width >= 0 && b.left >= 0 && b.left <= l.totalWidth);
    FUZZ_CHECK(b.right == (b.width > 0 ? b.left + b.width : b.left - 1));
    FUZZ_CHECK(b.lines >= 1 && b.lines <= std::max<std::int64_t>(1, f.groups[g].count));
  }
}

// A press on a resizable column's right edge finds a boundary there.
void CheckBoundaries(const ListLayout& l, const ListFormat& f) {
  for (std::size_t i = 0; i < l.columns.size(); ++i) {
    if (!(f.columns[i].flags & ListFlag::Resizable)) continue;
    const ColumnBox& b = l.columns[i];
    const std::int32_t found = BoundaryAt(l, f, b.left + b.width, b.line, 0);
    FUZZ_CHECK(found >= 0 && found <= static_cast<std::int32_t>(i));
    const ColumnBox& at = l.columns[static_cast<std::size_t>(found)];
    FUZZ_CHECK(at.line == b.line && at.left + at.width == b.left + b.width);
  }
}

testing::ImageListQueue& Rows() {
  static testing::ImageListQueue* list = [] {
    auto* made = new testing::ImageListQueue;
    made->Fill(2);
    return made;
  }();
  return *list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ListFormat format = ParseListFormat(text);
  CheckFormat(format, text);

  UnitScale scales[4];
  scales[1].baseX = 6;
  scales[2].baseX = 40;
  scales[3].pixels = true;
  for (const UnitScale& units : scales) {
    ListLayout layout = LayOutList(format, units, kLineHeight);
    CheckLayout(layout, format);
    CheckBoundaries(layout, format);
    if (format.columns.empty()) continue;
    // A boundary dragged to a width the mouse can reach.
    const std::size_t column = size % format.columns.size();
    const auto width = static_cast<std::int32_t>(size * 37 % 70000) - 5;
    ResizeColumn(layout, format, column, width);
    CheckLayout(layout, format);
    FUZZ_CHECK(layout.columns[column].width == std::max(0, width));
  }

  const ListRows rows(format);
  std::vector<ListCell> cells;
  for (std::uint32_t row = 1; row <= 2; ++row) {
    FUZZ_CHECK(rows.Row(Rows().queue, row, cells) && cells.size() == format.columns.size());
    for (const ListCell& cell : cells) {
      FUZZ_CHECK(StripLeadingBlanks(ClipTrailingBlanks(cell.text)).size() == cell.text.size());
    }
  }
  return 0;
}

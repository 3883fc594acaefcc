// The geometry of a list's columns in pixels: each column's extent inside
// the row and inside the header, the lines of column groups, the row
// height and the total width.
#pragma once

#include <cstdint>
#include <vector>

#include "winrt/list_format.h"
#include "winrt/units.h"

namespace lumbra {

struct ColumnBox {
  std::int32_t left = 0;
  std::int32_t right = -1;  // left + width, or left - 1 for a width of 0
  std::int32_t width = 0;
  std::int32_t indent = 0;        // of the data
  std::int32_t headerIndent = 0;  // of the header text
  std::int32_t line = 0;          // the line of the row it lies on (groups with "/")
  std::int32_t scrollWidth = 0;
  std::int32_t headerTop = 0, headerBottom = 0;  // its part of the header row
};

struct GroupBox {
  std::int32_t left = 0, right = -1, width = 0;
  std::int32_t lines = 1;
  std::int32_t headerIndent = 0;
  std::int32_t headerBottom = 0;  // group headers lie above the column headers
};

struct ListLayout {
  std::vector<ColumnBox> columns;
  std::vector<GroupBox> groups;
  std::int32_t lineHeight = 0;
  std::int32_t lines = 1;  // lines of a row
  std::int32_t rowHeight = 0;
  std::int32_t headerHeight = 0;  // 0: no header row
  std::int32_t totalWidth = 0;
  std::vector<std::int32_t> givenGroupWidths;  // pixels, 0 where a group was given none
};

// Lays the columns out left to right at their widths, converted like x
// values of the window; a line of text is `lineHeight` pixels high.
ListLayout LayOutList(const ListFormat& format, const UnitScale& units, std::int32_t lineHeight);

// Gives a column a new width in pixels (a dragged boundary) and places the
// columns after it again.
void ResizeColumn(ListLayout& layout, const ListFormat& format, std::size_t column,
                  std::int32_t width);

// The column whose resizable right boundary lies within `slack` pixels of
// x on the given line of the row, or -1.
std::int32_t BoundaryAt(const ListLayout& layout, const ListFormat& format, std::int32_t x,
                        std::int32_t line, std::int32_t slack);

}  // namespace lumbra

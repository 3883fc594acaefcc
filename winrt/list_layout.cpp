#include "winrt/list_layout.h"

#include <algorithm>
#include <cstdlib>

namespace lumbra {

namespace {

// Room around the text of a header band, for its raised edge.
constexpr std::int32_t kHeaderPadding = 2;
// How far right columns are placed at most, however many a format has.
constexpr std::int32_t kWidest = 1 << 28;

std::int32_t BandHeight(std::int32_t textLines, std::int32_t lineHeight) {
  return textLines > 0 ? textLines * lineHeight + kHeaderPadding : 0;
}

// Places the columns at their pixel widths: left to right, and inside a
// group, a column after "/" again at the group's left edge one line lower.
void Place(ListLayout& layout, const ListFormat& format) {
  const std::vector<std::int32_t>& given = layout.givenGroupWidths;
  std::int32_t x = 0;
  layout.lines = 1;
  std::size_t i = 0;
  while (i < format.columns.size()) {
    const std::int32_t g = format.columns[i].group;
    const std::size_t end = g < 0 ? i + 1
                                  : format.groups[static_cast<std::size_t>(g)].first +
                                        format.groups[static_cast<std::size_t>(g)].count;
    std::int32_t lineX = x, line = 0, widest = 0;
    for (; i < end; ++i) {
      ColumnBox& box = layout.columns[i];
      box.left = lineX;
      box.right = box.width > 0 ? lineX + box.width : lineX - 1;
      box.line = line;
      lineX = std::min(lineX + box.width, kWidest);
      widest = std::max(widest, lineX - x);
      if (g >= 0 && (format.columns[i].flags & ListFlag::NewLine) && i + 1 < end) {
        ++line;
        lineX = x;
      }
    }
    std::int32_t width = widest;
    if (g >= 0) {
      GroupBox& group = layout.groups[static_cast<std::size_t>(g)];
      if (given[static_cast<std::size_t>(g)] > 0) width = given[static_cast<std::size_t>(g)];
      group.left = x;
      group.width = width;
      group.right = width > 0 ? x + width : x - 1;
      group.lines = line + 1;
      layout.lines = std::max(layout.lines, group.lines);
    }
    x = std::min(x + width, kWidest);
  }
  layout.totalWidth = x;
  layout.rowHeight = layout.lines * layout.lineHeight;
}

// The header row: a band for the group headers, then one band per line
// of the row for the headers of the columns on that line.
void PlaceHeaders(ListLayout& layout, const ListFormat& format) {
  std::int32_t groupLines = 0;
  for (const ListGroup& g : format.groups) groupLines = std::max(groupLines, g.header.lines);
  std::int32_t top = BandHeight(groupLines, layout.lineHeight);
  for (GroupBox& g : layout.groups) g.headerBottom = top;
  for (std::int32_t line = 0; line < layout.lines; ++line) {
    std::int32_t lines = 0;
    for (std::size_t i = 0; i < format.columns.size(); ++i) {
      if (layout.columns[i].line == line) lines = std::max(lines, format.columns[i].header.lines);
    }
    const std::int32_t bottom = top + BandHeight(lines, layout.lineHeight);
    for (ColumnBox& box : layout.columns) {
      if (box.line == line) box.headerTop = top, box.headerBottom = bottom;
    }
    top = bottom;
  }
  layout.headerHeight = format.HasHeader() ? top : 0;
}

// The pixel widths the groups were given (0: none).
std::vector<std::int32_t> GivenGroupWidths(const ListFormat& format, const UnitScale& units) {
  std::vector<std::int32_t> given;
  for (const ListGroup& g : format.groups) given.push_back(units.XToPixels(std::max(0, g.width)));
  return given;
}

}  // namespace

ListLayout LayOutList(const ListFormat& format, const UnitScale& units, std::int32_t lineHeight) {
  ListLayout layout;
  layout.lineHeight = std::max(1, lineHeight);
  for (const ListColumn& c : format.columns) {
    ColumnBox box;
    box.width = units.XToPixels(std::max(0, c.width));
    box.indent = units.XToPixels(c.indent);
    box.headerIndent = units.XToPixels(c.header.indent);
    box.scrollWidth = units.XToPixels(std::max(0, c.scrollWidth));
    layout.columns.push_back(box);
  }
  for (const ListGroup& g : format.groups) {
    GroupBox box;
    box.headerIndent = units.XToPixels(g.header.indent);
    layout.groups.push_back(box);
  }
  layout.givenGroupWidths = GivenGroupWidths(format, units);
  Place(layout, format);
  PlaceHeaders(layout, format);
  return layout;
}

void ResizeColumn(ListLayout& layout, const ListFormat& format, std::size_t column,
                  std::int32_t width) {
  if (column >= layout.columns.size()) return;
  layout.columns[column].width = std::max(0, width);
  Place(layout, format);
  PlaceHeaders(layout, format);
}

std::int32_t BoundaryAt(const ListLayout& layout, const ListFormat& format, std::int32_t x,
                        std::int32_t line, std::int32_t slack) {
  for (std::size_t i = 0; i < layout.columns.size(); ++i) {
    const ColumnBox& box = layout.columns[i];
    if (box.line != line || !(format.columns[i].flags & ListFlag::Resizable)) continue;
    const std::int32_t edge = box.left + box.width;
    if (std::abs(x - edge) <= slack) return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace lumbra

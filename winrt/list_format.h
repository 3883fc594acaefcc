// List formats: the text that describes the columns of a list control,
// read into columns and bracketed column groups.
//
// A column is its width, an alignment letter and an indent, then any of:
// a picture between "@" marks, "#" and a field number, "*" (colour
// fields), "I" (icon field), "T" (tree, with options), "E(...)" (fixed
// colours), "?" (marked), "/" (new line), and the modifiers "M"/"m"
// (resizable), "F" (fixed), "S(n)" (scrolling), "H(n)", "|" (line on the
// right), "_" (line under the row) and "~header~" with its own alignment
// and indent. Widths and indents are in window units.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

enum class ListAlign : std::uint8_t { Left, Right, Centre, Decimal };

// Flags of a column or a group.
namespace ListFlag {
inline constexpr std::uint32_t Resizable = 1u << 0;     // M, m: its right boundary can be dragged
inline constexpr std::uint32_t Fixed = 1u << 1;         // F: does not scroll horizontally
inline constexpr std::uint32_t Scrolling = 1u << 2;     // S: its text scrolls
inline constexpr std::uint32_t RightBorder = 1u << 3;   // |: a line on its right
inline constexpr std::uint32_t BottomBorder = 1u << 4;  // _: a line under the row
inline constexpr std::uint32_t NewLine = 1u << 5;       // /: the next column starts a new line
inline constexpr std::uint32_t Icon = 1u << 6;          // I: the next field holds an icon number
inline constexpr std::uint32_t Tree = 1u << 7;          // T: the next field holds the row's level
inline constexpr std::uint32_t Colours = 1u << 8;       // *: the next four fields hold colours
inline constexpr std::uint32_t Marked = 1u << 9;        // ?
inline constexpr std::uint32_t HeldNumber = 1u << 10;   // H(n)
}  // namespace ListFlag

// Options of a tree column, the letters of "T(...)".
namespace TreeOption {
inline constexpr std::uint8_t Lines = 1u << 0;     // L
inline constexpr std::uint8_t FromOne = 1u << 1;   // 1
inline constexpr std::uint8_t Root = 1u << 2;      // R
inline constexpr std::uint8_t Boxes = 1u << 3;     // B
inline constexpr std::uint8_t Indented = 1u << 4;  // I
}  // namespace TreeOption

// The scrollable width of an "S" given without one, in window units.
inline constexpr std::int32_t kDefaultScrollWidth = 100;

// The colours a column can be given (E) or take from its row's fields (*).
enum ListColour : std::size_t { kListText, kListBack, kListSelectedText, kListSelectedBack };
using ListColours = std::array<std::int32_t, 4>;  // -1: not set
inline constexpr ListColours kNoListColours = {-1, -1, -1, -1};

struct ListHeader {
  std::string text;
  std::int32_t lines = 0;  // 0: no header; else 1 + the line feeds of the text
  ListAlign align = ListAlign::Left;
  std::int32_t indent = 0;
};

// What columns and groups share: their width, header and modifiers.
struct ListBlock {
  std::int32_t width = 0;  // window units; 0 when none is given
  ListHeader header;
  std::uint32_t flags = 0;
  std::int32_t scrollWidth = 0;  // window units
  std::int32_t heldNumber = 0;   // the number of "H(n)"
};

struct ListColumn : ListBlock {
  ListAlign align = ListAlign::Left;
  std::int32_t indent = 0;
  std::string picture;     // with its leading "@"; empty: none
  std::int32_t field = 0;  // the queue field shown, 1-based
  std::uint8_t treeOptions = 0;
  ListColours colours = kNoListColours;
  std::int32_t group = -1;  // the group it belongs to
};

struct ListGroup : ListBlock {
  std::size_t first = 0;  // its first column
  std::size_t count = 0;  // how many columns it holds
};

struct ListFormat {
  std::vector<ListColumn> columns;
  std::vector<ListGroup> groups;
  std::int32_t marked = -1;       // the index of the last marked column
  std::int32_t highestField = 0;  // the queue needs at least this many fields

  // Whether any column or group has a header, so that a header row shows.
  bool HasHeader() const;
  std::size_t FixedColumns() const;
  bool Scrolls() const;
};

ListFormat ParseListFormat(std::string_view text);

}  // namespace lumbra

#include "winrt/list_format.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace lumbra {

namespace {

// Widths, indents and field numbers beyond this are clipped to it, so
// that their pixel sizes stay far from overflowing; colours take 32 bits.
constexpr std::int64_t kLargestNumber = 32767;
constexpr std::int64_t kLargestColour = 0x7FFFFFFF;

std::optional<ListAlign> AlignOf(char c) {
  switch (c) {
    case 'L': return ListAlign::Left;
    case 'R': return ListAlign::Right;
    case 'C': return ListAlign::Centre;
    case 'D': return ListAlign::Decimal;
    default: return std::nullopt;
  }
}

// Reads the format from left to right.
class FormatReader {
 public:
  explicit FormatReader(std::string_view text) : s_(text) {}

  ListFormat Read() {
    while (More()) {
      const std::size_t start = p_;
      if (Take('[')) {
        Group();
      } else {
        Column(-1);
      }
      if (p_ == start) ++p_;  // a character that begins nothing is passed over
    }
    NumberFields();
    return std::move(format_);
  }

 private:
  bool More() const { return p_ < s_.size(); }
  bool At(char c) const { return More() && s_[p_] == c; }
  bool Take(char c) {
    if (!At(c)) return false;
    ++p_;
    return true;
  }

  // Optional "-" and decimal digits; nothing when there are no digits.
  std::optional<std::int32_t> Number(std::int64_t largest = kLargestNumber) {
    const std::size_t start = p_;
    const bool negative = Take('-');
    std::int64_t value = 0;
    bool digits = false;
    while (More() && s_[p_] >= '0' && s_[p_] <= '9') {
      value = std::min(value * 10 + (s_[p_] - '0'), largest);
      digits = true;
      ++p_;
    }
    if (!digits) {
      p_ = start;
      return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
  }

  // "(" number ")" after the current position, or nothing; a missing
  // number reads as 0 and a missing ")" is forgiven.
  std::optional<std::int32_t> Bracketed() {
    if (!Take('(')) return std::nullopt;
    const std::int32_t value = Number().value_or(0);
    Take(')');
    return value;
  }

  // The text up to the next `end` character (or the end), which is taken.
  std::string_view Until(char end) {
    const std::size_t close = std::min(s_.find(end, p_), s_.size());
    const std::string_view text = s_.substr(p_, close - p_);
    p_ = std::min(close + 1, s_.size());
    return text;
  }

  void Column(std::int32_t group) {
    const std::size_t start = p_;
    ListColumn column;
    column.group = group;
    column.width = Number().value_or(0);
    if (More()) {
      if (const auto align = AlignOf(s_[p_])) {
        ++p_;
        column.align = *align;
      }
    }
    column.header.align = column.align;
    if (const auto indent = Bracketed()) column.indent = column.header.indent = *indent;
    while (Item(column) || Modifier(column)) {
    }
    if (p_ == start) return;
    if (column.flags & ListFlag::Marked) {
      format_.marked = static_cast<std::int32_t>(format_.columns.size());
    }
    format_.columns.push_back(std::move(column));
  }

  void Group() {
    ListGroup group;
    group.first = format_.columns.size();
    const auto index = static_cast<std::int32_t>(format_.groups.size());
    while (More() && !At(']')) {
      const std::size_t start = p_;
      Column(index);
      if (p_ == start) ++p_;
    }
    Take(']');
    group.width = Bracketed().value_or(0);
    while (Modifier(group)) {
    }
    group.count = format_.columns.size() - group.first;
    format_.groups.push_back(std::move(group));
  }

  // The items only a column can have.
  bool Item(ListColumn& column) {
    if (!More()) return false;
    switch (s_[p_]) {
      case '@': {
        const std::size_t start = p_++;
        const std::size_t close = std::min(s_.find('@', p_), s_.size());
        if (column.picture.empty()) column.picture = std::string(s_.substr(start, close - start));
        p_ = std::min(close + 1, s_.size());
        return true;
      }
      case '#':
        ++p_;
        // A field number below 1 is no field: the next in order is shown.
        if (const auto field = Number(); field && *field > 0) column.field = *field;
        return true;
      case '*':
        ++p_;
        column.flags |= ListFlag::Colours;
        return true;
      case 'I':
        ++p_;
        column.flags |= ListFlag::Icon;
        return true;
      case 'T':
        ++p_;
        column.flags |= ListFlag::Tree;
        if (Take('(')) column.treeOptions = TreeOptions(Until(')'));
        return true;
      case 'E':
        if (p_ + 1 >= s_.size() || s_[p_ + 1] != '(') return false;
        p_ += 2;
        FixedColours(column.colours);
        return true;
      case '?':
        ++p_;
        column.flags |= ListFlag::Marked;
        return true;
      case '/':
        ++p_;
        column.flags |= ListFlag::NewLine;
        return true;
      default: return false;
    }
  }

  static std::uint8_t TreeOptions(std::string_view letters) {
    std::uint8_t options = 0;
    for (char c : letters) {
      switch (c) {
        case 'L': options |= TreeOption::Lines; break;
        case '1': options |= TreeOption::FromOne; break;
        case 'R': options |= TreeOption::Root; break;
        case 'B': options |= TreeOption::Boxes; break;
        case 'I': options |= TreeOption::Indented; break;
        default: break;
      }
    }
    return options;
  }

  // Up to four colours separated by "," and ended by ")"; an empty place
  // leaves its colour unset.
  void FixedColours(ListColours& colours) {
    for (std::size_t i = 0; More() && !Take(')'); ++i) {
      const auto colour = Number(kLargestColour);
      if (colour && i < colours.size()) colours[i] = *colour;
      if (!Take(',') && !At(')')) {
        Until(')');
        return;
      }
    }
  }

  // The modifiers that columns and groups share.
  bool Modifier(ListBlock& block) {
    if (!More()) return false;
    switch (s_[p_]) {
      case 'M':
      case 'm':
        ++p_;
        block.flags |= ListFlag::Resizable;
        return true;
      case 'F':
        ++p_;
        block.flags |= ListFlag::Fixed;
        return true;
      case 'S':
        ++p_;
        block.flags |= ListFlag::Scrolling;
        block.scrollWidth = Bracketed().value_or(kDefaultScrollWidth);
        return true;
      case 'H':
        ++p_;
        if (const auto number = Bracketed()) {
          block.flags |= ListFlag::HeldNumber;
          block.heldNumber = *number;
        }
        return true;
      case '|':
        ++p_;
        block.flags |= ListFlag::RightBorder;
        return true;
      case '_':
        ++p_;
        block.flags |= ListFlag::BottomBorder;
        return true;
      case '~': {
        ++p_;
        ListHeader& header = block.header;
        header.text = std::string(Until('~'));
        header.lines =
            1 + static_cast<std::int32_t>(std::count(header.text.begin(), header.text.end(), '\n'));
        if (More()) {
          if (const auto align = AlignOf(s_[p_])) {
            ++p_;
            header.align = *align;
          }
        }
        if (const auto indent = Bracketed()) header.indent = *indent;
        return true;
      }
      default: return false;
    }
  }

  // Columns without "#" take the next field in order; each column moves
  // the count past the fields it uses.
  void NumberFields() {
    std::int64_t next = 1;
    std::int64_t highest = 0;
    for (ListColumn& column : format_.columns) {
      if (column.field == 0) {
        column.field = static_cast<std::int32_t>(std::min(next, kLargestNumber));
      }
      next = std::int64_t{column.field} + 1;
      if (column.flags & ListFlag::Colours) next += 4;
      if (column.flags & ListFlag::Icon) next += 1;
      if (column.flags & ListFlag::Tree) next += 1;
      highest = std::max(highest, next - 1);
    }
    // Not clipped: a column at the largest field number still reads the
    // fields after it, and the queue must have those too.
    format_.highestField = static_cast<std::int32_t>(highest);
  }

  std::string_view s_;
  std::size_t p_ = 0;
  ListFormat format_;
};

}  // namespace

bool ListFormat::HasHeader() const {
  auto headed = [](const ListBlock& b) { return b.header.lines > 0; };
  return std::any_of(columns.begin(), columns.end(), headed) ||
         std::any_of(groups.begin(), groups.end(), headed);
}

std::size_t ListFormat::FixedColumns() const {
  return static_cast<std::size_t>(std::count_if(columns.begin(), columns.end(), [](const auto& c) {
    return (c.flags & ListFlag::Fixed) != 0;
  }));
}

bool ListFormat::Scrolls() const {
  return std::any_of(columns.begin(), columns.end(),
                     [](const auto& c) { return (c.flags & ListFlag::Scrolling) != 0; });
}

ListFormat ParseListFormat(std::string_view text) { return FormatReader(text).Read(); }

}  // namespace lumbra

#include <array>
#include <cctype>

#include "core/locale.h"
#include "core/picture.h"

namespace lumbra {

namespace {

// The standard date and time layouts. Letters stand for digits: "Mm", "Dd"
// and "Hh" show a leading zero as a space, "mm", "dd" and "hh" keep it;
// "NNN" is the month's abbreviation, "NNNNNNNNN" its full name, "PP" the AM
// or PM marker. A null entry is taken from the Windows settings.
constexpr std::array<const char*, 20> kDateLayouts = {"Mm/dd/yy",
                                                      "Mm/dd/yyyy",
                                                      "NNN Dd, yyyy",
                                                      "NNNNNNNNN Dd, yyyy",
                                                      "Dd/mm/yy",
                                                      "Dd/mm/yyyy",
                                                      "Dd NNN yy",
                                                      "Dd NNN yyyy",
                                                      "yy/mm/dd",
                                                      "yyyy/mm/dd",
                                                      "yymmdd",
                                                      "yyyymmdd",
                                                      "Mm/yy",
                                                      "Mm/yyyy",
                                                      "yy/mm",
                                                      "yyyy/mm",
                                                      nullptr,
                                                      nullptr,
                                                      "Dd NNNNNNNNN yyyy",
                                                      "NNNNNNNNN Dd yyyy"};

constexpr std::array<const char*, 8> kTimeLayouts = {"hh:mm",  "hhmm",       "Hh:mmPP", "hh:mm:ss",
                                                     "hhmmss", "Hh:mm:ssPP", nullptr,   nullptr};

struct LayoutToken {
  std::string_view text;
  PictureCell cell;
};

// The tokens of the layout notation; "mm" is the month in a date layout
// and the minutes in a time layout. Longer tokens come first.
constexpr std::array<LayoutToken, 8> kDateTokens = {{
    {"NNNNNNNNN", {CellPart::MonthName, ' ', 9, CellFill::Zero}},
    {"yyyy", {CellPart::Year, ' ', 4, CellFill::Zero}},
    {"NNN", {CellPart::MonthAbbreviation, ' ', 3, CellFill::Zero}},
    {"yy", {CellPart::Year, ' ', 2, CellFill::Zero}},
    {"Mm", {CellPart::Month, ' ', 2, CellFill::Blank}},
    {"mm", {CellPart::Month, ' ', 2, CellFill::Zero}},
    {"Dd", {CellPart::Day, ' ', 2, CellFill::Blank}},
    {"dd", {CellPart::Day, ' ', 2, CellFill::Zero}},
}};

constexpr std::array<LayoutToken, 5> kTimeTokens = {{
    {"Hh", {CellPart::Hours, ' ', 2, CellFill::Blank}},
    {"hh", {CellPart::Hours, ' ', 2, CellFill::Zero}},
    {"mm", {CellPart::Minutes, ' ', 2, CellFill::Zero}},
    {"ss", {CellPart::Seconds, ' ', 2, CellFill::Zero}},
    {"PP", {CellPart::Marker, ' ', 2, CellFill::Zero}},
}};

PictureCell LiteralCell(char c) { return {CellPart::Literal, c, 0, CellFill::Zero}; }

template <std::size_t N>
std::vector<PictureCell> CompileLayout(std::string_view layout,
                                       const std::array<LayoutToken, N>& tokens) {
  std::vector<PictureCell> cells;
  while (!layout.empty()) {
    bool matched = false;
    for (const LayoutToken& token : tokens) {
      if (layout.starts_with(token.text)) {
        cells.push_back(token.cell);
        layout.remove_prefix(token.text.size());
        matched = true;
        break;
      }
    }
    if (!matched) {
      cells.push_back(LiteralCell(layout.front()));
      layout.remove_prefix(1);
    }
  }
  return cells;
}

// A picture with a marker counts hours on the 12-hour clock.
void UseTwelveHourClockWithMarker(std::vector<PictureCell>& cells) {
  bool marker = false;
  for (const PictureCell& cell : cells) {
    marker |= cell.part == CellPart::Marker || cell.part == CellPart::MarkerLetter;
  }
  if (!marker) return;
  for (PictureCell& cell : cells) {
    if (cell.part == CellPart::Hours) cell.part = CellPart::Hours12;
  }
}

std::int32_t CellWidth(const PictureCell& cell) {
  switch (cell.part) {
    case CellPart::Literal: return 1;
    case CellPart::MonthAbbreviation:
    case CellPart::WeekdayAbbreviation: return 3;
    case CellPart::MonthName:
    case CellPart::WeekdayName: return 9;
    case CellPart::Marker: return 2;
    case CellPart::MarkerLetter: return 1;
    default: return cell.digits;
  }
}

// One Windows format letter repeated `count` times.
PictureCell WindowsLetterCell(char letter, std::size_t count) {
  const CellFill fill = count >= 2 ? CellFill::Zero : CellFill::None;
  switch (letter) {
    case 'd':
      if (count == 3) return {CellPart::WeekdayAbbreviation, ' ', 0, CellFill::Zero};
      if (count >= 4) return {CellPart::WeekdayName, ' ', 0, CellFill::Zero};
      return {CellPart::Day, ' ', 2, fill};
    case 'M':
      if (count == 3) return {CellPart::MonthAbbreviation, ' ', 0, CellFill::Zero};
      if (count >= 4) return {CellPart::MonthName, ' ', 0, CellFill::Zero};
      return {CellPart::Month, ' ', 2, fill};
    case 'y': return {CellPart::Year, ' ', static_cast<std::uint8_t>(count >= 3 ? 4 : 2), fill};
    case 'h': return {CellPart::Hours12, ' ', 2, fill};
    case 'H': return {CellPart::Hours, ' ', 2, fill};
    case 'm': return {CellPart::Minutes, ' ', 2, fill};
    case 's': return {CellPart::Seconds, ' ', 2, fill};
    default:
      return {count >= 2 ? CellPart::Marker : CellPart::MarkerLetter, ' ', 0, CellFill::Zero};
  }
}

// Reads a decimal number of at most six digits; false when none is there.
bool ReadCount(std::string_view& text, std::int32_t& value) {
  std::size_t n = 0;
  value = 0;
  while (n < text.size() && std::isdigit(static_cast<unsigned char>(text[n]))) {
    if (n == 6) return false;
    value = value * 10 + (text[n] - '0');
    ++n;
  }
  text.remove_prefix(n);
  return n > 0;
}

// Reads an optional blank-when-zero mark; true when nothing else is left.
bool ReadBlankMarkAndEnd(std::string_view& text, bool& blankWhenZero) {
  if (!text.empty() && (text.front() == 'B' || text.front() == 'b')) {
    blankWhenZero = true;
    text.remove_prefix(1);
  }
  return text.empty();
}

std::int32_t PictureWidth(const std::vector<PictureCell>& cells) {
  std::int32_t width = 0;
  for (const PictureCell& cell : cells) width += CellWidth(cell);
  return width;
}

bool CompileDateOrTime(std::string_view params, bool date, Picture& picture) {
  std::int32_t number = 0;
  if (!ReadCount(params, number)) return false;
  if (!ReadBlankMarkAndEnd(params, picture.blankWhenZero)) return false;
  const Locale& locale = RuntimeLocale();
  if (date) {
    if (number < 1 || number > static_cast<std::int32_t>(kDateLayouts.size())) return false;
    if (const char* layout = kDateLayouts[number - 1]) {
      picture.cells = CompileLayout(layout, kDateTokens);
    } else {
      picture.cells =
          CompileWindowsFormat(number == 17 ? locale.shortDateFormat : locale.longDateFormat);
    }
  } else {
    if (number < 1 || number > static_cast<std::int32_t>(kTimeLayouts.size())) return false;
    if (const char* layout = kTimeLayouts[number - 1]) {
      picture.cells = CompileLayout(layout, kTimeTokens);
    } else {
      picture.cells =
          CompileWindowsFormat(number == 7 ? locale.shortTimeFormat : locale.longTimeFormat);
      picture.windowsMarkers = true;
    }
  }
  UseTwelveHourClockWithMarker(picture.cells);
  picture.kind = date ? PictureKind::Date : PictureKind::Time;
  picture.number = number;
  picture.width = PictureWidth(picture.cells);
  return true;
}

bool CompileString(std::string_view params, Picture& picture) {
  std::int32_t width = 0;
  if (!ReadCount(params, width) || width < 1 || width > 65535) return false;
  if (!ReadBlankMarkAndEnd(params, picture.blankWhenZero)) return false;
  picture.kind = PictureKind::String;
  picture.width = width;
  return true;
}

}  // namespace

std::vector<PictureCell> CompileWindowsFormat(std::string_view format) {
  std::vector<PictureCell> cells;
  constexpr std::string_view kLetters = "dMyhHmst";
  std::size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    if (c == '\'') {
      // A quoted literal; two quotes inside stand for one.
      ++i;
      while (i < format.size()) {
        if (format[i] == '\'') {
          if (i + 1 < format.size() && format[i + 1] == '\'') {
            cells.push_back(LiteralCell('\''));
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cells.push_back(LiteralCell(format[i++]));
      }
    } else if (kLetters.find(c) != std::string_view::npos) {
      std::size_t count = 1;
      while (i + count < format.size() && format[i + count] == c) ++count;
      cells.push_back(WindowsLetterCell(c, count));
      i += count;
    } else {
      cells.push_back(LiteralCell(c));
      ++i;
    }
  }
  UseTwelveHourClockWithMarker(cells);
  return cells;
}

Picture CompilePicture(std::string_view text) {
  Picture picture;
  if (text.size() > kMaxPictureChars) return picture;
  if (!text.empty() && text.front() == '@') text.remove_prefix(1);
  if (text.empty()) return picture;
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
  const std::string_view params = text.substr(1);
  bool compiled = false;
  switch (kind) {
    case 'D': compiled = CompileDateOrTime(params, true, picture); break;
    case 'T': compiled = CompileDateOrTime(params, false, picture); break;
    case 'S': compiled = CompileString(params, picture); break;
    case 'N':
      compiled = ParseNumberLayout(params, picture.layout, picture.width, picture.blankWhenZero);
      if (compiled) picture.kind = PictureKind::Numeric;
      break;
    default: break;  // scientific, pattern and key-in pictures are not supported
  }
  if (!compiled) return Picture();
  return picture;
}

}  // namespace lumbra

// Dates and times through their pictures.
#include <array>
#include <cctype>

#include "core/ascii_case.h"
#include "core/date_time.h"
#include "core/locale.h"
#include "core/picture.h"

namespace lumbra {

namespace {

constexpr std::array<const char*, 7> kWeekdayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};

void AppendNumber(std::string& out, std::int32_t value, const PictureCell& cell) {
  std::string digits = std::to_string(value);
  if (digits.size() > cell.digits) digits = digits.substr(digits.size() - cell.digits);
  if (cell.fill != CellFill::None && digits.size() < cell.digits) {
    const std::size_t missing = cell.digits - digits.size();
    if (cell.fill == CellFill::Zero || missing < 1) {
      digits.insert(0, missing, '0');
    } else {
      // Only the first leading zero shows as a space; a four-digit cell
      // keeps its inner zeros.
      digits.insert(0, missing - 1, '0');
      digits.insert(0, 1, ' ');
    }
  }
  out += digits;
}

struct Clock {
  DateParts date;
  TimeParts time;
};

void AppendCell(std::string& out, const PictureCell& cell, const Clock& clock, std::int32_t serial,
                bool windowsMarkers) {
  const Locale& locale = RuntimeLocale();
  const std::size_t month =
      static_cast<std::size_t>(clock.date.month > 0 ? clock.date.month - 1 : 0);
  const bool afternoon = clock.time.hours >= 12;
  const FixedText<2>& marker = windowsMarkers ? (afternoon ? locale.windowsPm : locale.windowsAm)
                                              : (afternoon ? locale.pm : locale.am);
  switch (cell.part) {
    case CellPart::Literal: out += cell.literal; break;
    case CellPart::Month: AppendNumber(out, clock.date.month, cell); break;
    case CellPart::Day: AppendNumber(out, clock.date.day, cell); break;
    case CellPart::Year: AppendNumber(out, clock.date.year, cell); break;
    case CellPart::MonthAbbreviation: out += locale.monthAbbreviations[month].clipped(); break;
    case CellPart::MonthName: out += locale.monthNames[month].clipped(); break;
    case CellPart::WeekdayAbbreviation:
      out +=
          std::string_view(kWeekdayNames[static_cast<std::size_t>(DayOfWeek(serial))]).substr(0, 3);
      break;
    case CellPart::WeekdayName:
      out += kWeekdayNames[static_cast<std::size_t>(DayOfWeek(serial))];
      break;
    case CellPart::Hours: AppendNumber(out, clock.time.hours, cell); break;
    case CellPart::Hours12: {
      const std::int32_t hours = clock.time.hours % 12;
      AppendNumber(out, hours == 0 ? 12 : hours, cell);
      break;
    }
    case CellPart::Minutes: AppendNumber(out, clock.time.minutes, cell); break;
    case CellPart::Seconds: AppendNumber(out, clock.time.seconds, cell); break;
    case CellPart::Marker: out += marker.clipped(); break;
    case CellPart::MarkerLetter: out += marker.clipped().substr(0, 1); break;
  }
}

bool IsNumberCell(const PictureCell& cell) {
  switch (cell.part) {
    case CellPart::Month:
    case CellPart::Day:
    case CellPart::Year:
    case CellPart::Hours:
    case CellPart::Hours12:
    case CellPart::Minutes:
    case CellPart::Seconds: return true;
    default: return false;
  }
}

bool IsNameCell(const PictureCell& cell) {
  switch (cell.part) {
    case CellPart::MonthAbbreviation:
    case CellPart::MonthName:
    case CellPart::WeekdayAbbreviation:
    case CellPart::WeekdayName: return true;
    default: return false;
  }
}

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return !prefix.empty() && StartsIgnoringCase(text, prefix);
}

// The month (1..12) whose name or abbreviation the word is, or 0.
std::int32_t MonthOfWord(std::string_view word) {
  const Locale& locale = RuntimeLocale();
  for (std::size_t m = 0; m < 12; ++m) {
    const std::string_view name = locale.monthNames[m].clipped();
    const std::string_view abbreviation = locale.monthAbbreviations[m].clipped();
    if ((word.size() == name.size() && StartsWithNoCase(word, name)) ||
        (word.size() == abbreviation.size() && StartsWithNoCase(word, abbreviation)))
      return static_cast<std::int32_t>(m + 1);
  }
  return 0;
}

// Whether the text holds the PM (or AM) marker of the picture after `from`.
bool HoldsMarker(std::string_view text, const FixedText<2>& marker) {
  const std::string_view wanted = marker.clipped();
  for (std::size_t i = 0; i + wanted.size() <= text.size(); ++i) {
    if (StartsWithNoCase(text.substr(i), wanted)) return true;
  }
  return false;
}

}  // namespace

std::string FormatDateTime(std::int32_t serial, const Picture& picture) {
  const std::string blanks(static_cast<std::size_t>(picture.width), ' ');
  if (picture.blankWhenZero && serial == 0) return blanks;
  Clock clock;
  if (picture.kind == PictureKind::Date) {
    clock.date = DatePartsOf(serial);
    if (!clock.date.valid) return blanks;
  } else {
    clock.time = TimePartsOf(serial);
    if (!clock.time.valid) return blanks;
  }
  std::string out;
  out.reserve(blanks.size());
  for (const PictureCell& cell : picture.cells) {
    AppendCell(out, cell, clock, serial, picture.windowsMarkers);
  }
  if (out.size() < blanks.size()) out.append(blanks.size() - out.size(), ' ');
  return out;
}

// Reads the parts in the order of the picture's cells: each number cell
// takes the next run of digits (only as many as the cell has when another
// number cell follows without a separator), each month name the next word.
// Markers are looked for anywhere in the text.
double DeformatDateTime(std::string_view text, const Picture& picture) {
  std::int32_t month = 0, day = 1, year = 0, hours = 0, minutes = 0, seconds = 0;
  bool sawYear = false, sawHours = false, twelveHour = false, yearDigitsShort = false;
  std::size_t pos = 0;
  const std::vector<PictureCell>& cells = picture.cells;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    const PictureCell& cell = cells[c];
    if (IsNumberCell(cell)) {
      while (pos < text.size() && !IsDigit(text[pos])) ++pos;
      const bool packed = c + 1 < cells.size() && IsNumberCell(cells[c + 1]);
      const std::size_t most = packed ? cell.digits : 9;
      std::int32_t value = 0;
      std::size_t digits = 0;
      while (pos < text.size() && IsDigit(text[pos]) && digits < most) {
        value = value * 10 + (text[pos++] - '0');
        ++digits;
      }
      if (digits == 0) return 0;
      switch (cell.part) {
        case CellPart::Month: month = value; break;
        case CellPart::Day: day = value; break;
        case CellPart::Year: year = value, sawYear = true, yearDigitsShort = digits <= 2; break;
        case CellPart::Hours12: twelveHour = true; [[fallthrough]];
        case CellPart::Hours: hours = value, sawHours = true; break;
        case CellPart::Minutes: minutes = value; break;
        default: seconds = value; break;
      }
    } else if (IsNameCell(cell)) {
      while (pos < text.size() && !IsLetter(text[pos])) ++pos;
      const std::size_t start = pos;
      while (pos < text.size() && IsLetter(text[pos])) ++pos;
      if (cell.part == CellPart::MonthName || cell.part == CellPart::MonthAbbreviation) {
        month = MonthOfWord(text.substr(start, pos - start));
        if (month == 0) return 0;
      }
    }
  }
  if (picture.kind == PictureKind::Date) {
    if (!sawYear) return 0;
    if (yearDigitsShort) year = CompleteTwoDigitYear(year);
    const std::int32_t serial = DateSerial(year, month, day);
    return serial > 0 ? serial : 0;
  }
  if (!sawHours) return 0;
  if (twelveHour) {
    const Locale& locale = RuntimeLocale();
    const FixedText<2>& pm = picture.windowsMarkers ? locale.windowsPm : locale.pm;
    if (hours < 1 || hours > 12) return 0;
    hours %= 12;
    if (HoldsMarker(text.substr(pos), pm)) hours += 12;
  }
  const std::int32_t serial = TimeSerial(hours, minutes, seconds, 0);
  // Midnight reads back as the first hundredth of the day, so that a time
  // was entered; "no time" stays reserved for an empty text.
  if (serial == 0) return 1;
  return serial > 0 ? serial : 0;
}

}  // namespace lumbra

// Display pictures: a picture text ("@D1", "@T3", "@N9", "@S20") compiled
// once into a record, then used to turn values into text (FORMAT) and text
// back into values (DEFORMAT).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

enum class PictureKind : std::uint8_t {
  Invalid,
  Numeric,
  Scientific,
  String,
  Date,
  Time,
  Pattern,
  KeyIn
};

// What one cell of a date or time picture shows.
enum class CellPart : std::uint8_t {
  Literal,
  Month,
  Day,
  Year,
  MonthAbbreviation,
  MonthName,
  WeekdayAbbreviation,
  WeekdayName,
  Hours,    // 24-hour clock
  Hours12,  // 12-hour clock
  Minutes,
  Seconds,
  Marker,       // AM or PM marker, in full
  MarkerLetter  // its first letter
};

// Leading-zero handling of a digit cell.
enum class CellFill : std::uint8_t {
  Zero,   // keep the leading zero ("mm")
  Blank,  // show it as a space ("Mm")
  None    // leave it out, so the cell shrinks ("d" of the Windows formats)
};

struct PictureCell {
  CellPart part = CellPart::Literal;
  char literal = ' ';
  std::uint8_t digits = 2;  // digit positions of a number cell (2 or 4)
  CellFill fill = CellFill::Zero;
};

// The marks of a numeric picture.
struct NumberLayout {
  std::string leadCurrency;
  std::string trailCurrency;
  char leadSign = 0;     // 0, '-' or '('
  char trailSign = 0;    // 0, '-' or ')'
  char fill = 0;         // 0, '0', '_' or '*'
  char grouping = 0;     // 0 (none), ',', '.' or ' '
  char decimalMark = 0;  // 0 (no decimals), '.', ',', ' ' or 'v' (not shown)
  std::int32_t decimals = 0;
};

struct Picture {
  PictureKind kind = PictureKind::Invalid;
  std::int32_t width = 0;
  bool blankWhenZero = false;
  std::int32_t number = 0;         // the standard format number of @D and @T
  bool windowsMarkers = false;     // @T7/@T8 use the Windows AM and PM texts
  std::vector<PictureCell> cells;  // dates and times
  NumberLayout layout;             // numbers
};

inline constexpr std::size_t kMaxPictureChars = 100;

Picture CompilePicture(std::string_view text);

// Compiles a date or time layout in the Windows format letters (d, dd, ddd,
// dddd, M..MMMM, yy, yyyy, h, hh, H, HH, m, mm, s, ss, t, tt, quoted
// literals) into cells.
std::vector<PictureCell> CompileWindowsFormat(std::string_view format);

// The value shown through the picture, exactly `width` characters long
// (longer only when a locale's month or day name is longer than the
// picture allows). An invalid picture gives an empty text; an invalid date
// or time serial gives blanks.
std::string FORMAT(double value, const Picture& picture);
std::string FORMAT(double value, std::string_view picture);
// A text through the picture: string pictures show it, other pictures read
// it as a number first.
std::string FORMAT(std::string_view text, const Picture& picture);
std::string FORMAT(std::string_view text, std::string_view picture);

// The value that the text shows under the picture: a date or time serial,
// a number, or 0 when the text cannot be read.
double DEFORMAT(std::string_view text, const Picture& picture);
double DEFORMAT(std::string_view text, std::string_view picture);

// Pieces used by FORMAT and DEFORMAT for each picture kind.
std::string FormatDateTime(std::int32_t serial, const Picture& picture);
double DeformatDateTime(std::string_view text, const Picture& picture);
std::string FormatNumber(double value, const Picture& picture);
double DeformatNumber(std::string_view text, const Picture& picture);
bool ParseNumberLayout(std::string_view params, NumberLayout& layout, std::int32_t& width,
                       bool& blankWhenZero);

}  // namespace lumbra

// Numbers through numeric pictures ("@N9", "@N-12.2", "@N$010`2b").
//
// Choices where the picture text leaves room:
// - The number is laid out from the right: lead sign, lead currency, fill,
//   digits with grouping, decimals, trail currency, trail sign.
// - Decimals round half away from zero, judged on the decimal digits of the
//   value (so 1.005 with two places gives 1.01).
// - A negative number in a picture without a sign mark still shows a
//   leading "-": dropping the sign would show a different number.
// - With a sign mark, the mark's place is kept (blank for a positive
//   number), so that digits line up in columns.
// - A number that does not fit shows a row of '#' the width of the picture.
#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/picture.h"

namespace lumbra {

namespace {

constexpr std::int32_t kMaxWidth = 100;

bool IsMark(char c) { return c == '.' || c == '_' || c == 'v' || c == '`'; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The character a grouping or decimal mark stands for.
char MarkCharacter(char mark) {
  switch (mark) {
    case '_': return ' ';
    case '`': return ',';
    default: return mark;  // '.' and 'v'
  }
}

bool ReadCurrency(std::string_view& text, std::string& currency) {
  if (text.empty()) return true;
  if (text.front() == '$') {
    currency = "$";
    text.remove_prefix(1);
  } else if (text.front() == '~') {
    const std::size_t close = text.find('~', 1);
    if (close == std::string_view::npos) return false;
    currency = std::string(text.substr(1, close - 1));
    text.remove_prefix(close + 1);
  }
  return true;
}

bool ReadNumber(std::string_view& text, std::int32_t& value) {
  std::size_t n = 0;
  value = 0;
  while (n < text.size() && IsDigit(text[n]) && n < 4) value = value * 10 + (text[n++] - '0');
  text.remove_prefix(n);
  return n > 0 && (text.empty() || !IsDigit(text.front()));
}

// The digits of |value| rounded to `decimals` places, half away from zero:
// the whole part and the fraction. False when the value is not finite.
bool RoundedDigits(double value, std::int32_t decimals, std::string& whole, std::string& fraction) {
  if (!std::isfinite(value)) return false;
  // Six spare digits, so that the rounding looks at the decimal value and
  // not at the binary representation's last bits.
  char buffer[420];
  const int n = std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(decimals + 6),
                              std::fabs(value));
  if (n <= 0 || n >= static_cast<int>(sizeof buffer)) return false;
  std::string text(buffer, static_cast<std::size_t>(n));
  const std::size_t point = text.find('.');
  std::string digits =
      text.substr(0, point) + text.substr(point + 1, static_cast<std::size_t>(decimals));
  const bool roundUp = text[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
  if (roundUp) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(0, 1, '1');
    } else {
      ++digits[i - 1];
    }
  }
  const std::size_t wholeDigits = digits.size() - static_cast<std::size_t>(decimals);
  whole = digits.substr(0, wholeDigits);
  fraction = digits.substr(wholeDigits);
  const std::size_t firstNonZero = whole.find_first_not_of('0');
  whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
  return true;
}

std::string Grouped(const std::string& whole, char grouping) {
  if (grouping == 0) return whole;
  std::string out;
  out.reserve(whole.size() + whole.size() / 3);
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) out += grouping;
    out += whole[i];
  }
  return out;
}

}  // namespace

bool ParseNumberLayout(std::string_view text, NumberLayout& layout, std::int32_t& width,
                       bool& blankWhenZero) {
  layout = NumberLayout();
  if (!ReadCurrency(text, layout.leadCurrency)) return false;
  if (!text.empty() && (text.front() == '-' || text.front() == '(')) {
    layout.leadSign = text.front();
    text.remove_prefix(1);
  }
  if (!text.empty() && (text.front() == '0' || text.front() == '_' || text.front() == '*')) {
    layout.fill = text.front();
    text.remove_prefix(1);
  }
  if (!ReadNumber(text, width) || width < 1 || width > kMaxWidth) return false;
  // A mark followed by digits is the decimal mark; a mark followed by
  // another mark is the grouping mark, and the second the decimal mark; a
  // mark followed by neither is the grouping mark alone.
  char grouping = 0;
  bool groupingGiven = false;
  if (text.size() >= 2 && IsMark(text[0]) && IsMark(text[1])) {
    grouping = text[0];
    groupingGiven = true;
    text.remove_prefix(1);
  }
  if (text.size() >= 2 && IsMark(text[0]) && IsDigit(text[1])) {
    layout.decimalMark = MarkCharacter(text[0]);
    text.remove_prefix(1);
    if (!ReadNumber(text, layout.decimals) || layout.decimals >= width) return false;
  } else if (!groupingGiven && !text.empty() && IsMark(text.front())) {
    grouping = text.front();
    groupingGiven = true;
    text.remove_prefix(1);
  }
  if (groupingGiven) {
    layout.grouping = grouping == 'v' ? 0 : MarkCharacter(grouping);
  } else {
    layout.grouping = layout.fill == '0' || layout.fill == '_' ? 0 : ',';
  }
  if (!text.empty() && (text.front() == '-' || text.front() == ')')) {
    layout.trailSign = text.front();
    text.remove_prefix(1);
  }
  if (!ReadCurrency(text, layout.trailCurrency)) return false;
  if (!text.empty() && (text.front() == 'b' || text.front() == 'B')) {
    blankWhenZero = true;
    text.remove_prefix(1);
  }
  return text.empty();
}

std::string FormatNumber(double value, const Picture& picture) {
  const NumberLayout& layout = picture.layout;
  const std::size_t width = static_cast<std::size_t>(picture.width);
  if (picture.blankWhenZero && value == 0) return std::string(width, ' ');
  std::string whole, fraction;
  if (!RoundedDigits(value, layout.decimals, whole, fraction)) return std::string(width, '#');
  const bool negative =
      value < 0 && (whole != "0" || fraction.find_first_not_of('0') != std::string::npos);

  std::string lead;
  if (layout.leadSign != 0) {
    lead += negative ? layout.leadSign : ' ';
  } else if (negative && layout.trailSign == 0) {
    lead += '-';
  }
  lead += layout.leadCurrency;

  std::string body = Grouped(whole, layout.grouping);
  if (layout.decimalMark != 0) {
    if (layout.decimalMark != 'v') body += layout.decimalMark;
    body += fraction;
  }
  std::string trail = layout.trailCurrency;
  if (layout.trailSign != 0) trail += negative ? layout.trailSign : ' ';

  const std::size_t used = lead.size() + body.size() + trail.size();
  if (used > width) return std::string(width, '#');
  const std::size_t spare = width - used;
  switch (layout.fill) {
    case '0': return lead + std::string(spare, '0') + body + trail;
    case '*': return lead + std::string(spare, '*') + body + trail;
    default: return std::string(spare, ' ') + lead + body + trail;
  }
}

// Keeps the digits and the decimal mark of the text; a '-' or '(' anywhere
// makes the number negative. With a hidden decimal mark the last digits are
// the decimals.
double DeformatNumber(std::string_view text, const Picture& picture) {
  const NumberLayout& layout = picture.layout;
  const bool shownMark = layout.decimalMark != 0 && layout.decimalMark != 'v';
  double whole = 0, fraction = 0, scale = 1;
  bool negative = false, inFraction = false;
  std::int32_t digits = 0;
  for (char c : text) {
    if (IsDigit(c)) {
      if (++digits > 300) break;
      if (inFraction) {
        scale /= 10;
        fraction += (c - '0') * scale;
      } else {
        whole = whole * 10 + (c - '0');
      }
    } else if (shownMark && c == layout.decimalMark && c != layout.grouping &&
               (c != ' ' || digits > 0)) {
      inFraction = true;
    } else if (c == '-' || c == '(') {
      negative = true;
    }
  }
  double value = whole + fraction;
  if (layout.decimalMark == 'v') value /= std::pow(10.0, layout.decimals);
  return negative ? -value : value;
}

}  // namespace lumbra

// FORMAT and DEFORMAT: the value's kind chosen by the picture's kind.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/fixed_text.h"
#include "core/picture.h"

namespace lumbra {

namespace {

// A serial taken from a number: whole days or hundredths, or -1 when the
// number is out of range.
std::int32_t SerialOf(double value) {
  if (!std::isfinite(value) || value < -2147483648.0 || value > 2147483647.0) return -1;
  return static_cast<std::int32_t>(value);
}

std::string NumberText(double value) {
  char buffer[64];
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
  }
  return buffer;
}

double TextNumber(std::string_view text) {
  const std::string copy(StripLeadingBlanks(ClipTrailingBlanks(text)).substr(0, 400));
  return std::strtod(copy.c_str(), nullptr);
}

std::string Padded(std::string_view text, std::int32_t width) {
  std::string out(text.substr(0, static_cast<std::size_t>(width)));
  out.resize(static_cast<std::size_t>(width), ' ');
  return out;
}

}  // namespace

std::string FORMAT(double value, const Picture& picture) {
  switch (picture.kind) {
    case PictureKind::Date:
    case PictureKind::Time: return FormatDateTime(SerialOf(value), picture);
    case PictureKind::Numeric: return FormatNumber(value, picture);
    case PictureKind::String:
      if (picture.blankWhenZero && value == 0) return Padded("", picture.width);
      return Padded(NumberText(value), picture.width);
    default: return std::string();
  }
}

std::string FORMAT(std::string_view text, const Picture& picture) {
  if (picture.kind == PictureKind::String) {
    if (picture.blankWhenZero && TextNumber(text) == 0 &&
        ClipTrailingBlanks(text).find_first_not_of(" 0.") == std::string_view::npos)
      return Padded("", picture.width);
    return Padded(text, picture.width);
  }
  return FORMAT(TextNumber(text), picture);
}

std::string FORMAT(double value, std::string_view picture) {
  return FORMAT(value, CompilePicture(picture));
}

std::string FORMAT(std::string_view text, std::string_view picture) {
  return FORMAT(text, CompilePicture(picture));
}

double DEFORMAT(std::string_view text, const Picture& picture) {
  switch (picture.kind) {
    case PictureKind::Date:
    case PictureKind::Time: return DeformatDateTime(text, picture);
    case PictureKind::Numeric: return DeformatNumber(text, picture);
    case PictureKind::String: return TextNumber(text);
    default: return 0;
  }
}

double DEFORMAT(std::string_view text, std::string_view picture) {
  return DEFORMAT(text, CompilePicture(picture));
}

}  // namespace lumbra

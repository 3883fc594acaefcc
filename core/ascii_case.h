// Letter case for the program's texts: names, extensions, keywords. Only
// the ASCII letters have a case here, whatever the locale, so a name
// compares and upper-cases the same way on every system.
#pragma once

#include <string>
#include <string_view>

namespace lumbra {

constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text with its ASCII letters upper-cased.
inline std::string AsciiUppercase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

// Whether the texts are equal, letters compared without case.
constexpr bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// Whether the text begins with the prefix, letters compared without case.
constexpr bool StartsIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace lumbra

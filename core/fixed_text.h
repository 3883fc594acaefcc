// Blank-padded fixed-length texts, the runtime's text model.
//
// A FixedText<N> always holds exactly N characters. Assigning clips the
// source at N characters and pads the rest with blanks; clipped() gives the
// text without its trailing blanks. Comparisons are over the full width, so
// "ABC" equals "ABC   ". The type is trivially copyable and exactly N bytes,
// so it can stand as a field inside byte-exact records.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace lumbra {

// The text without its trailing blanks.
constexpr std::string_view ClipTrailingBlanks(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

// The text without its leading blanks.
constexpr std::string_view StripLeadingBlanks(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  return text.substr(start);
}

template <std::size_t N>
class FixedText {
 public:
  static_assert(N > 0);

  constexpr FixedText() { chars_.fill(' '); }
  constexpr FixedText(std::string_view text) { assign(text); }  // NOLINT: implicit by design
  constexpr FixedText(const char* text) : FixedText(std::string_view(text)) {}  // NOLINT

  constexpr FixedText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  constexpr FixedText& operator=(const char* text) { return *this = std::string_view(text); }

  // Copies at most N characters and pads with blanks.
  constexpr void assign(std::string_view text) {
    const std::size_t n = std::min(text.size(), N);
    std::copy_n(text.begin(), n, chars_.begin());
    std::fill(chars_.begin() + static_cast<std::ptrdiff_t>(n), chars_.end(), ' ');
  }

  static constexpr std::size_t size() { return N; }
  constexpr std::string_view full() const { return {chars_.data(), N}; }
  constexpr std::string_view clipped() const { return ClipTrailingBlanks(full()); }
  std::string str() const { return std::string(clipped()); }
  constexpr bool blank() const { return clipped().empty(); }

  constexpr char* data() { return chars_.data(); }
  constexpr const char* data() const { return chars_.data(); }
  constexpr char& operator[](std::size_t i) { return chars_[i]; }
  constexpr char operator[](std::size_t i) const { return chars_[i]; }

  friend constexpr bool operator==(const FixedText&, const FixedText&) = default;

  // Full-width comparison with a plain text: the text is taken as if it had
  // been assigned, so it is clipped at N and padded with blanks.
  friend constexpr bool operator==(const FixedText& a, std::string_view b) {
    if (b.size() > N) b = b.substr(0, N);
    return a.full().substr(0, b.size()) == b &&
           a.full().find_first_not_of(' ', b.size()) == std::string_view::npos;
  }
  friend constexpr bool operator==(const FixedText& a, const char* b) {
    return a == std::string_view(b);
  }

 private:
  std::array<char, N> chars_;
};

}  // namespace lumbra

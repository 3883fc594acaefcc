#include "core/collating_compare.h"

#include <algorithm>

namespace lumbra {

namespace {

// Walks a text byte by byte, expanding digraphs and continuing with blanks
// after its end.
class CollatingCursor {
 public:
  CollatingCursor(std::string_view text, const std::vector<Digraph>& digraphs)
      : text_(text), digraphs_(digraphs) {}

  bool AtEnd() const { return pending_ == 0 && position_ >= text_.size(); }

  unsigned char Next() {
    if (pending_ != 0) {
      const unsigned char c = pending_;
      pending_ = 0;
      return c;
    }
    if (position_ >= text_.size()) return ' ';
    const unsigned char c = static_cast<unsigned char>(text_[position_++]);
    for (const Digraph& digraph : digraphs_) {
      if (digraph.code == c) {
        pending_ = digraph.expansion[1];
        return digraph.expansion[0];
      }
    }
    return c;
  }

 private:
  std::string_view text_;
  const std::vector<Digraph>& digraphs_;
  std::size_t position_ = 0;
  unsigned char pending_ = 0;
};

}  // namespace

int CollatingCompare(std::string_view a, std::string_view b, const Locale& locale) {
  const auto& order = locale.collatingOrder;
  if (locale.digraphs.empty()) {
    // Byte by byte, skipping runs of equal bytes of the common part.
    const std::size_t common = std::min(a.size(), b.size());
    const std::size_t longest = std::max(a.size(), b.size());
    std::size_t i = 0;
    while (i < longest) {
      if (i < common) {
        i = static_cast<std::size_t>(std::mismatch(a.begin() + static_cast<std::ptrdiff_t>(i),
                                                   a.begin() + static_cast<std::ptrdiff_t>(common),
                                                   b.begin() + static_cast<std::ptrdiff_t>(i))
                                         .first -
                                     a.begin());
        if (i == common) continue;
      }
      const unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
      const unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
      if (const int d = int{order[ca]} - int{order[cb]}; d != 0) return d;
      ++i;
    }
    return 0;
  }
  CollatingCursor ca(a, locale.digraphs), cb(b, locale.digraphs);
  while (!ca.AtEnd() || !cb.AtEnd()) {
    const unsigned char x = ca.Next(), y = cb.Next();
    if (const int d = int{order[x]} - int{order[y]}; d != 0) return d;
  }
  return 0;
}

}  // namespace lumbra

#include "app/popup_marks.h"

namespace lumbra {

void MarkPiece(std::span<char> text, std::size_t piece, char mark) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < piece; ++i) {
    while (at < text.size() && text[at] != '|') ++at;
    if (at == text.size()) return;
    ++at;
  }
  if (at < text.size() && text[at] != '|') text[at] = mark;
}

void MarkBefore(std::span<char> text, std::string_view label, char mark) {
  const std::string_view whole(text.data(), text.size());
  const std::size_t at = whole.find(label);
  if (at != std::string_view::npos && at > 0) text[at - 1] = mark;
}

}  // namespace lumbra

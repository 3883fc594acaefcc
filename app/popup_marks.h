// Marking entries of popup-menu texts in place: the first character of an
// entry says whether it is checked ("+"), unchecked ("-") or greyed ("~").
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace lumbra {

// Sets the first character of the piece of the text at `piece` (0-based,
// pieces separated by "|"); nothing when there is no such piece or it is
// empty.
void MarkPiece(std::span<char> text, std::size_t piece, char mark);

// Sets the character just before the first occurrence of `label`; nothing
// when the label is not there or starts the text.
void MarkBefore(std::span<char> text, std::string_view label, char mark);

}  // namespace lumbra

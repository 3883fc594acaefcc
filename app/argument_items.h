// Splitting an argument text (the command line's, a drop's) into items.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

// The items of the text, in order: blanks between items, and the empty
// items between two separators, are skipped; an item in double quotes runs
// to the next quote (an unterminated quote takes the rest of the text); any
// other item runs to the next separator, the comma for a drop and the blank
// otherwise. Items come as they stand in the text, a quoted one without
// its quotes.
std::vector<std::string> ArgumentItems(std::string_view text, bool dropped);

}  // namespace lumbra

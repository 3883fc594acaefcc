#include "app/argument_items.h"

#include "core/fixed_text.h"

namespace lumbra {

std::vector<std::string> ArgumentItems(std::string_view text, bool dropped) {
  const std::string_view rest = ClipTrailingBlanks(text);
  const char separator = dropped ? ',' : ' ';
  std::vector<std::string> items;
  std::size_t p = 0;
  while (p < rest.size()) {
    // Blanks between items are skipped, and so is a separator where an item
    // would begin: two commas in a row hold an empty item, not one that
    // starts with a comma.
    if (rest[p] == ' ' || rest[p] == separator) {
      ++p;
      continue;
    }
    if (rest[p] == '"') {
      // The character after the closing quote is taken as the separator.
      const std::size_t q = rest.find('"', p + 1);
      if (q == std::string_view::npos) {
        items.emplace_back(rest.substr(p + 1));
        break;
      }
      items.emplace_back(rest.substr(p + 1, q - p - 1));
      p = q + 2;
      continue;
    }
    const std::size_t q = rest.find(separator, p + 1);
    if (q == std::string_view::npos) {
      items.emplace_back(rest.substr(p));
      break;
    }
    items.emplace_back(rest.substr(p, q - p));
    p = q + 1;
  }
  return items;
}

}  // namespace lumbra

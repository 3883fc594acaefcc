#include "winrt/popup_menu_text.h"

#include <algorithm>

#include "core/fixed_text.h"

namespace lumbra {

namespace {

bool EndsItem(char c) { return c == '|' || c == '{' || c == '}'; }

// An item's entry from its collected characters: "-" alone is a
// separator; otherwise a leading "~" greys it and one "+" or "-" after it
// gives its check state.
PopupEntry EntryOf(std::string_view item, std::int32_t parent) {
  PopupEntry entry;
  entry.parent = parent;
  if (item == "-") {
    entry.kind = PopupEntryKind::Separator;
    return entry;
  }
  if (!item.empty() && item.front() == '~') {
    entry.disabled = true;
    item.remove_prefix(1);
  }
  if (!item.empty() && (item.front() == '+' || item.front() == '-')) {
    entry.checked = item.front() == '+';
    item.remove_prefix(1);
  }
  entry.text = std::string(item.substr(0, kMaxPopupItemText));
  return entry;
}

}  // namespace

std::vector<PopupEntry> ParsePopupMenuText(std::string_view text) {
  std::vector<PopupEntry> entries;
  std::vector<std::int32_t> open;  // the sub-menus being read, innermost last
  std::int32_t counter = 1;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = at;
    while (end < text.size() && !EndsItem(text[end])) ++end;
    const std::string_view item = text.substr(at, end - at);
    const char delimiter = end < text.size() ? text[end] : '\0';
    const std::int32_t parent = open.empty() ? -1 : open.back();
    if (delimiter == '{') {
      // The item is the title of a sub-menu; a sub-menu without a title
      // still holds its items.
      PopupEntry title = EntryOf(item, parent);
      title.kind = PopupEntryKind::SubMenu;
      entries.push_back(std::move(title));
      open.push_back(static_cast<std::int32_t>(entries.size() - 1));
    } else if (!ClipTrailingBlanks(item).empty()) {
      PopupEntry entry = EntryOf(item, parent);
      if (entry.kind == PopupEntryKind::Item) entry.number = counter++;
      entries.push_back(std::move(entry));
    }
    if (delimiter == '}') {
      if (open.empty()) break;  // the outermost level ends
      open.pop_back();
    }
    if (delimiter == '\0') break;
    at = end + 1;
  }
  return entries;
}

std::int32_t PopupItemCount(const std::vector<PopupEntry>& entries) {
  std::int32_t count = 0;
  for (const PopupEntry& e : entries) count = std::max(count, e.number);
  return count;
}

}  // namespace lumbra

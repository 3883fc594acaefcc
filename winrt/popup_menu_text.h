// Popup-menu texts: items separated by "|", "-" alone a separator line,
// a leading "~" greys an item, then "+" checks it or "-" marks it
// unchecked, "{" after an item's text opens its sub-menu up to the
// matching "}", "&" marks the mnemonic letter.
//
// Items are numbered 1, 2, 3 ... in the order they appear in the text,
// across sub-menus; separators and sub-menu titles take no number. The
// number of the item a user chooses is what a popup menu returns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

enum class PopupEntryKind : std::uint8_t { Item, Separator, SubMenu };

// One entry of a parsed popup menu. The entries of a menu form a tree held
// flat, in text order: every entry names the sub-menu it lies in, and a
// sub-menu comes before its contents. (A flat tree is walked and freed
// without recursion, so hostile nesting cannot exhaust the stack.)
struct PopupEntry {
  PopupEntryKind kind = PopupEntryKind::Item;
  std::string text;  // without its "~", "+" or "-"; "&" kept for the mnemonic
  bool disabled = false;
  bool checked = false;
  std::int32_t number = 0;   // items: 1, 2, 3 ...; separators and sub-menus: 0
  std::int32_t parent = -1;  // index of the sub-menu holding the entry, -1 at the top
};

// The longest item text: longer items are cut to it.
constexpr std::size_t kMaxPopupItemText = 1023;

// Reads a popup text once from left to right. An empty text, or one of
// separators only, gives a menu without items. A "}" without its "{" ends
// the outermost level; a "{" without its "}" takes the rest of the text.
// Items of blanks only are the padding of a fixed-length text and are
// skipped like empty ones.
std::vector<PopupEntry> ParsePopupMenuText(std::string_view text);

// The highest item number of a parsed menu (0 when it has no items).
std::int32_t PopupItemCount(const std::vector<PopupEntry>& entries);

}  // namespace lumbra

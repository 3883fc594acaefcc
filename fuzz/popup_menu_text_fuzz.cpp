// Fuzz target: popup-menu texts read into their entries, as PopupMenu
// reads them before it builds the native menu, and the viewer's marking of
// an entry in place. Every menu read must be a well-formed tree whose texts
// come from the input, numbered 1, 2, 3 ..., and must read back the same
// from the text it is written out as.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/popup_marks.h"
#include "core/fixed_text.h"
#include "fuzz/fuzz_check.h"
#include "winrt/popup_menu_text.h"

namespace {

using lumbra::PopupEntry;
using lumbra::PopupEntryKind;

bool Same(const PopupEntry& a, const PopupEntry& b) {
  return a.kind == b.kind && a.text == b.text && a.disabled == b.disabled &&
         a.checked == b.checked && a.number == b.number && a.parent == b.parent;
}

// The tree is what the native menu is built from: every entry lies in a
// sub-menu that comes before it, items are numbered in order, and every
// text is a piece of the input, in input order, without the characters
// that end an item.
void CheckTree(const std::vector<PopupEntry>& entries, std::string_view text) {
  std::int32_t number = 0;
  std::size_t from = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PopupEntry& e = entries[i];
    FUZZ_CHECK(e.parent >= -1 && e.parent < static_cast<std::int32_t>(i));
    if (e.parent >= 0)
      FUZZ_CHECK(entries[static_cast<std::size_t>(e.parent)].kind == PopupEntryKind::SubMenu);
    FUZZ_CHECK(e.number == (e.kind == PopupEntryKind::Item ? ++number : 0));
    FUZZ_CHECK(e.text.size() <= lumbra::kMaxPopupItemText);
    FUZZ_CHECK(e.text.find_first_of("|{}") == std::string::npos);
    if (e.kind == PopupEntryKind::Separator)
      FUZZ_CHECK(e.text.empty() && !e.disabled && !e.checked);
    const std::size_t at = text.find(e.text, from);
    FUZZ_CHECK(at != std::string_view::npos);
    from = at + e.text.size();
  }
  FUZZ_CHECK(lumbra::PopupItemCount(entries) == number);
}

// Writes the entries out as a popup text that reads back as the same
// entries: every item with its marks spelt out ("-" for unchecked, so that
// a text beginning with "+" or "-" keeps it), sub-menus closed where their
// contents end.
std::string WriteOut(const std::vector<PopupEntry>& entries) {
  std::string out;
  std::vector<std::int32_t> open;  // the sub-menus written, innermost last
  bool levelEmpty = true;          // nothing written yet in the innermost level
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PopupEntry& e = entries[i];
    while (!open.empty() && open.back() != e.parent) {
      open.pop_back();
      out += '}';
      levelEmpty = false;
    }
    FUZZ_CHECK(e.parent == (open.empty() ? -1 : open.back()));
    if (!levelEmpty) out += '|';
    levelEmpty = false;
    if (e.kind == PopupEntryKind::Separator) {
      out += '-';
      continue;
    }
    if (e.disabled) out += '~';
    out += e.checked ? '+' : '-';
    out += e.text;
    if (e.kind == PopupEntryKind::SubMenu) {
      out += '{';
      open.push_back(static_cast<std::int32_t>(i));
      levelEmpty = true;
    }
  }
  out.append(open.size(), '}');
  return out;
}

// Marking one piece changes at most its first character, to the mark.
void CheckMark(std::string_view text, std::size_t piece) {
  std::string marked(text);
  lumbra::MarkPiece(marked, piece, '+');
  std::size_t changed = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (marked[i] == text[i]) continue;
    ++changed;
    FUZZ_CHECK(marked[i] == '+' && (i == 0 || text[i - 1] == '|'));
  }
  FUZZ_CHECK(changed <= 1 && marked.size() == text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // PopupMenu reads the text clipped of its padding.
  const std::string_view text = lumbra::ClipTrailingBlanks(input);
  const std::vector<PopupEntry> entries = lumbra::ParsePopupMenuText(text);
  CheckTree(entries, text);

  const std::vector<PopupEntry> again = lumbra::ParsePopupMenuText(WriteOut(entries));
  FUZZ_CHECK(again.size() == entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) FUZZ_CHECK(Same(entries[i], again[i]));

  CheckMark(input, size % 7);
  return 0;
}

// A parsed popup menu written out as one line, for comparing whole menus:
// items as "text=number", greyed items with "~", checked ones with "+",
// separators as "-", sub-menus as "title{...}".
#pragma once

#include <string>
#include <vector>

#include "winrt/popup_menu_text.h"

namespace lumbra {

inline std::string Outline(const std::vector<PopupEntry>& entries, std::int32_t parent = -1) {
  std::string out;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PopupEntry& e = entries[i];
    if (e.parent != parent) continue;
    if (!out.empty()) out += '|';
    if (e.disabled) out += '~';
    if (e.checked) out += '+';
    switch (e.kind) {
      case PopupEntryKind::Separator: out += '-'; break;
      case PopupEntryKind::Item: out += e.text + "=" + std::to_string(e.number); break;
      case PopupEntryKind::SubMenu:
        out += e.text + "{" + Outline(entries, static_cast<std::int32_t>(i)) + "}";
        break;
    }
  }
  return out;
}

}  // namespace lumbra

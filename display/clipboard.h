// Images and texts to the clipboard, and the clipboard keys of the
// runtime's entry fields. A clipboard that another program holds makes
// each of these do nothing, silently.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/native_handles.h"

namespace lumbra {

// Puts the text, trailing spaces removed, on the clipboard as CF_TEXT, with
// the active window as its owner. A text that is then empty leaves the
// clipboard empty.
void CopyTextToClipboard(std::string_view text);

// Ctrl+C (character 3), Ctrl+X (24) and Ctrl+V (22) on an entry field:
// copy the selection, cut it (not on a read-only field), or insert the
// clipboard's text at the caret (beeping, and inserting nothing, when the
// field would grow past its limit). False for any other character.
bool HandleEntryClipboardKey(NativeWindow field, std::uint32_t character);

}  // namespace lumbra

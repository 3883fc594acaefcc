// Clipboard transfer: blocks handed to the clipboard, texts as plain text,
// and the clipboard keys of entry fields.
#include "display/clipboard_win32.h"
#include "display/clipboard.h"

#include <windows.h>

#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace lumbra {

OpenedClipboard::OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}

OpenedClipboard::~OpenedClipboard() {
  if (open_) CloseClipboard();
}

bool PutBlock(UINT format, std::span<const std::uint8_t> bytes, bool terminate) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + (terminate ? 1 : 0));
  if (block == nullptr) return false;
  auto* to = static_cast<std::uint8_t*>(GlobalLock(block));
  if (to == nullptr) {
    GlobalFree(block);
    return false;
  }
  if (!bytes.empty()) std::memcpy(to, bytes.data(), bytes.size());
  if (terminate) to[bytes.size()] = 0;
  GlobalUnlock(block);
  if (SetClipboardData(format, block) != nullptr) return true;
  GlobalFree(block);
  return false;
}

bool PutOnClipboard(HWND owner, UINT format, std::span<const std::uint8_t> bytes, bool terminate) {
  OpenedClipboard clipboard(owner);
  if (!clipboard) return false;
  EmptyClipboard();
  return PutBlock(format, bytes, terminate);
}

namespace {

std::span<const std::uint8_t> TextBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The clipboard's text up to its first line break: what a one-line field
// takes of it. Nothing when there is no text.
bool ClipboardText(HWND owner, std::string& text) {
  if (!IsClipboardFormatAvailable(CF_TEXT)) return false;
  OpenedClipboard clipboard(owner);
  if (!clipboard) return false;
  HANDLE block = GetClipboardData(CF_TEXT);
  const char* chars = block != nullptr ? static_cast<const char*>(GlobalLock(block)) : nullptr;
  if (chars == nullptr) return false;
  const std::string_view all(chars, strnlen(chars, GlobalSize(block)));
  text.assign(all.substr(0, all.find_first_of("\r\n")));
  GlobalUnlock(block);
  return true;
}

// Copies the selected characters; false when nothing went to the clipboard.
bool CopySelection(HWND field) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::string text = WindowText(field);
  if (start >= end || end > text.size()) return false;
  return PutOnClipboard(field, CF_TEXT,
                        TextBytes(std::string_view(text).substr(start, end - start)), true);
}

void Paste(HWND field) {
  std::string text;
  if (!ClipboardText(field, text)) return;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto length = static_cast<std::size_t>(GetWindowTextLengthA(field));
  const auto limit = static_cast<std::size_t>(SendMessageA(field, EM_GETLIMITTEXT, 0, 0));
  // What is selected is replaced, as typing replaces it.
  if (length - (end - start) + text.size() > limit) {
    MessageBeep(0);
    return;
  }
  SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool ReadOnly(HWND field) { return (GetWindowLongPtrA(field, GWL_STYLE) & ES_READONLY) != 0; }

}  // namespace

void CopyTextToClipboard(std::string_view text) {
  OpenedClipboard clipboard(GetActiveWindow());
  if (!clipboard) return;
  EmptyClipboard();
  const std::size_t end = text.find_last_not_of(' ');
  text = end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
  if (!text.empty()) PutBlock(CF_TEXT, TextBytes(text), true);
}

bool HandleEntryClipboardKey(NativeWindow field, std::uint32_t character) {
  switch (character) {
    case 3: CopySelection(field); return true;
    case 24:
      // The selection goes only once the clipboard holds it.
      if (!ReadOnly(field) && CopySelection(field)) {
        SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(""));
      }
      return true;
    case 22:
      if (!ReadOnly(field)) Paste(field);
      return true;
    default: return false;
  }
}

}  // namespace lumbra

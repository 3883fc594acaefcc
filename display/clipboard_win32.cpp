// Clipboard transfer: images as packed bitmaps or metafile pictures, texts
// as plain text, and the clipboard keys of entry fields.
#include "display/clipboard.h"

#include <windows.h>

#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "codecs/bitmap_image.h"
#include "codecs/decoded_image.h"
#include "codecs/gdi_tally_win32.h"
#include "codecs/gif_image.h"
#include "codecs/metafile_image.h"

namespace lumbra {

namespace {

// The clipboard, open for as long as this lives; emptied on request.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// Hands the clipboard a movable block holding the bytes (and a zero byte
// after them for a text). The clipboard owns the block once it took it.
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

std::span<const std::uint8_t> TextBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Replaces the clipboard's contents by one block; false when the clipboard
// did not take it.
bool PutOnClipboard(HWND owner, UINT format, std::span<const std::uint8_t> bytes, bool terminate) {
  OpenedClipboard clipboard(owner);
  if (!clipboard) return false;
  EmptyClipboard();
  return PutBlock(format, bytes, terminate);
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

void BitmapImage::CopyToClipboard(NativeWindow window) {
  if (flags_ & SizeOnly) return;
  const std::span<const std::uint8_t> painted = PaintedBytes();
  // Only a bitmap whose parts all lie inside its bytes goes out: whoever
  // pastes it will trust its header.
  const auto layout = CheckDecodedImage(painted);
  if (!layout || !layout->complete()) return;
  PutOnClipboard(window, CF_DIB, painted.subspan(kFileHeaderSize), false);
}

void GifImage::CopyToClipboard(NativeWindow window) {
  // The frame on show, as the packed bitmap that everything else paints.
  // Its table always holds 256 entries, so the copy says so: a reader
  // then finds the rows right after the table.
  if ((flags_ & SizeOnly) || frame_.empty()) return;
  std::vector<std::uint8_t> copy(frame_);
  WriteU32(copy.data() + 32, 0);
  WriteU32(copy.data() + 36, 0);
  PutOnClipboard(window, CF_DIB, copy, false);
}

void MetafileImage::CopyToClipboard(NativeWindow window) {
  if (metafile_ == nullptr) return;
  OpenedClipboard clipboard(window);
  if (!clipboard) return;
  EmptyClipboard();
  // The clipboard gets a metafile of its own, valid after this image ends.
  HMETAFILE copy = gdi_tally::Made(CopyMetaFileA(metafile_, nullptr));
  if (copy == nullptr) return;
  METAFILEPICT picture = {};
  picture.mm = MM_ANISOTROPIC;
  picture.xExt = 0;
  picture.yExt = 0;
  picture.hMF = copy;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&picture);
  // Without a picture holding it, the copy is the program's to delete.
  if (PutBlock(CF_METAFILEPICT, {bytes, sizeof picture}, false)) {
    gdi_tally::HandedOver();
  } else {
    gdi_tally::DeleteMetafile(copy);
  }
}

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

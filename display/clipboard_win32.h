// The clipboard as the images and texts that go onto it reach it: opened
// for a scope, and handed blocks of bytes in a clipboard format.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace lumbra {

// The clipboard, open for as long as this lives.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner);
  ~OpenedClipboard();
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// Hands the clipboard a movable block holding the bytes (and a zero byte
// after them for a text). The clipboard owns the block once it took it.
bool PutBlock(UINT format, std::span<const std::uint8_t> bytes, bool terminate);

// Replaces the clipboard's contents by one block; false when the clipboard
// did not take it.
bool PutOnClipboard(HWND owner, UINT format, std::span<const std::uint8_t> bytes, bool terminate);

}  // namespace lumbra

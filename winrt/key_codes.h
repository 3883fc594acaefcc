// Key codes: a virtual key or mouse pseudo key plus the state of the
// modifier and lock keys at the moment of the press.
#pragma once

#include <cstdint>

namespace lumbra {

constexpr std::uint32_t kKeyExtended = 0x800;
constexpr std::uint32_t kKeyShift = 0x100;
constexpr std::uint32_t kKeyCtrl = 0x200;
constexpr std::uint32_t kKeyAlt = 0x400;
constexpr std::uint32_t kKeyCapsLock = 0x1000;
constexpr std::uint32_t kKeyNumLock = 0x2000;
constexpr std::uint32_t kKeyScrollLock = 0x4000;

// Mouse buttons as pseudo keys.
constexpr std::uint32_t kMouseLeft = 1;
constexpr std::uint32_t kMouseRight = 2;
constexpr std::uint32_t kMouseCenter = 3;
constexpr std::uint32_t kMouseLeft2 = 5;
constexpr std::uint32_t kMouseRight2 = 6;
constexpr std::uint32_t kMouseCenter2 = 7;

// The state of the modifier and lock keys at one moment.
struct KeyModifiers {
  bool shift = false, ctrl = false, alt = false;
  bool capsLock = false, numLock = false, scrollLock = false;
};

// The full key code of a key or pseudo key.
constexpr std::uint32_t ComposeKeyCode(std::uint32_t key, bool extended, KeyModifiers m) {
  std::uint32_t code = (key & 0xFF) | (extended ? kKeyExtended : 0);
  if (m.shift) code |= kKeyShift;
  if (m.ctrl) code |= kKeyCtrl;
  if (m.alt) code |= kKeyAlt;
  if (m.capsLock) code |= kKeyCapsLock;
  if (m.numLock) code |= kKeyNumLock;
  if (m.scrollLock) code |= kKeyScrollLock;
  return code;
}

// What the program sees: the key with Shift, Ctrl and Alt; the extended and
// lock bits are dropped.
constexpr std::uint32_t ProgramKeyCode(std::uint32_t code) { return code & 0x7FF; }

}  // namespace lumbra

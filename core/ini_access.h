// Reading and writing one key of an INI file through the Windows profile
// functions. Every argument loses its trailing blanks and is cut to the
// length of its buffer; an empty file name means the system's WIN.INI.
// Neither operation reports failure: a failed read yields the default.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumbra {

// Longest texts kept for each argument and for the result.
inline constexpr std::size_t kIniSectionChars = 63;
inline constexpr std::size_t kIniKeyChars = 63;
inline constexpr std::size_t kIniValueChars = 1023;
inline constexpr std::size_t kIniFileChars = 259;
inline constexpr std::size_t kIniResultChars = 1023;

// One argument as it is handed to the platform: trailing blanks removed,
// then cut at `limit` characters.
std::string IniArgument(std::string_view text, std::size_t limit);

// Writes `value` under `key` in `section`. With deleteSection the whole
// section is removed; with deleteKey the key is removed.
void WriteIniKey(std::string_view section, std::string_view key, std::string_view value,
                 std::string_view file, bool deleteSection = false, bool deleteKey = false);

// Reads the text of `key`; a missing key, section or file yields the
// default, trimmed like every other argument.
std::string ReadIniKey(std::string_view section, std::string_view key, std::string_view fallback,
                       std::string_view file);

}  // namespace lumbra

// Locale start-up: the Windows settings (WIN.INI section "intl"), then the
// environment file (the program's path with the extension ".ENV").
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/locale.h"

namespace lumbra {

// One value of the intl section, or `fallback` when it is missing.
using IntlReader = std::function<std::string(std::string_view key, std::string_view fallback)>;

// The time pictures, the Windows AM and PM texts and the date formats from
// the intl values.
void ApplyWindowsSettings(Locale& locale, const IntlReader& read);

struct EnvironmentLine {
  std::string key;    // at most 31 characters
  std::string value;  // at most 1,024 characters
};

// The "key=value" lines of an environment file; lines without "=" are
// skipped.
std::vector<EnvironmentLine> ParseEnvironmentText(std::string_view text);

// The items of a value: separated by commas or blanks; an item in double
// quotes may hold both, and two double quotes inside stand for one.
std::vector<std::string> SplitEnvironmentItems(std::string_view value);

// The collating order that the Windows collation gives, for
// WEXCOLSEQ=WINDOWS; null where there is none.
using WindowsCollation = std::function<std::array<std::uint16_t, 256>()>;

// Applies the keys that concern the locale: WEXMONTH, WEXMON, WEXAMPM,
// WEXCOLSEQ and WEXDIGRAPH. Other keys are left to their owners.
void ApplyEnvironment(Locale& locale, std::string_view fileText,
                      const WindowsCollation& windowsCollation = nullptr);

// A collating order in which the listed characters sort in the listed
// order, as one block at the place of the lowest of them; every other
// character keeps its code order.
std::array<std::uint16_t, 256> CollatingOrderOf(std::string_view sequence);

// The environment file of a program: its path with the extension ".ENV".
std::string EnvironmentFilePath(std::string_view programPath);

// Start-up on Windows: reads WIN.INI and the environment file into the
// runtime locale and clears the error state.
void StartLocale();

}  // namespace lumbra

// The runtime's locale: month names, AM and PM markers, the Windows date
// and time formats, and the collating order used to compare texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/fixed_text.h"

namespace lumbra {

// A character that compares as a two-letter expansion (for example a
// ligature that sorts as the two letters it joins).
struct Digraph {
  unsigned char code = 0;
  std::array<unsigned char, 2> expansion{};
};

struct Locale {
  std::array<FixedText<12>, 12> monthNames;
  std::array<FixedText<3>, 12> monthAbbreviations;
  FixedText<2> am;
  FixedText<2> pm;

  // The Windows settings (WIN.INI section "intl").
  FixedText<2> windowsAm;       // s1159
  FixedText<2> windowsPm;       // s2359
  std::string shortDateFormat;  // @D17, in Windows format letters
  std::string longDateFormat;   // @D18
  std::string shortTimeFormat;  // @T7, built from iTime, iTLzero and sTime
  std::string longTimeFormat;   // @T8

  // Sort weight of each character code, and the digraphs.
  std::array<std::uint16_t, 256> collatingOrder{};
  std::vector<Digraph> digraphs;

  Locale();
};

// The locale in use by the process. Start-up fills it; tests may change it
// and restore it with ResetLocale.
Locale& RuntimeLocale();
void ResetLocale();

// The Windows time formats made from the intl settings: iTime 1 for the
// 24-hour clock, iTLzero 1 for a leading zero on hours, sTime the separator.
std::string WindowsTimeFormat(int iTime, int iTLzero, std::string_view separator, bool seconds);

// The identity collating order (code order).
std::array<std::uint16_t, 256> DefaultCollatingOrder();

}  // namespace lumbra

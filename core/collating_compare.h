// Text comparison through the locale's collating order.
#pragma once

#include <string_view>

#include "core/locale.h"

namespace lumbra {

// Compares two texts as if the shorter were padded with blanks, so trailing
// blanks never matter. At the first different character the result is the
// difference of their collating weights; a character with a digraph
// compares as its two-letter expansion. 0 when equal.
int CollatingCompare(std::string_view a, std::string_view b, const Locale& locale);

}  // namespace lumbra

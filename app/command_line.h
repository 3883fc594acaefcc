// The command line as the viewer sees it.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

// The command line without its first word. The first word is found without
// regard to quotes: leading blanks, then everything up to the next blank,
// then the blanks after it. A quoted program path with blanks therefore
// leaves the rest of the path at the start of the text.
std::string_view CommandLineText(std::string_view commandLine);

// The 1-based position of the argument text within the command-line text:
// just after "LUMBRA.EXE" (and its closing quote), searched for in upper
// case, or 1 when the program name is not there.
std::uint8_t CommandLineStart(std::string_view commandLineText);

// The length of the command-line text clipped of trailing blanks, held in
// 8 bits: longer command lines are handled up to 255 characters.
std::uint8_t CommandLineLength(std::string_view commandLineText);

// The argument text: the characters from `start` to `length`, stripped of
// leading and trailing blanks.
std::string_view CommandLineArgument(std::string_view commandLineText, std::uint8_t start,
                                     std::uint8_t length);

}  // namespace lumbra

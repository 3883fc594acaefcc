// The parts of directory listing and path conversion that need no platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumbra {

// Whether an entry with these attributes is listed when `wanted` are asked
// for: plain files always; hidden, system and directory entries only when
// one of their bits is wanted. Read-only and archive never filter.
bool PassesAttributeFilter(std::uint32_t attributes, std::uint32_t wanted);

// The 8.3 form of a path made by rule from its text, for when the platform
// cannot make it: "/" becomes "\", each component keeps at most 8
// characters of name and 3 of extension, characters that 8.3 names cannot
// hold (and dots inside a name) become "_". At most 143 characters.
std::string RuleShortPath(std::string_view path);

// Whether a name or path as the code-page file functions give it holds
// every character of the real one. A character the code page cannot hold
// comes back as "?", which no file name contains: such a name opens
// nothing, and the file is reached through its short name instead.
bool NameSurvivesCodePage(std::string_view name);

inline constexpr std::size_t kShortPathChars = 143;
inline constexpr std::size_t kPatternChars = 259;

}  // namespace lumbra

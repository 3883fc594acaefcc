#include "app/command_line.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "core/fixed_text.h"

namespace lumbra {

namespace {
constexpr std::string_view kProgramName = "LUMBRA.EXE";
constexpr std::size_t kWorkChars = 1024;
constexpr std::size_t kMaxPosition = 255;
}  // namespace

std::string_view CommandLineText(std::string_view commandLine) {
  std::size_t p = 0;
  while (p < commandLine.size() && commandLine[p] == ' ') ++p;
  while (p < commandLine.size() && commandLine[p] != ' ') ++p;
  while (p < commandLine.size() && commandLine[p] == ' ') ++p;
  return commandLine.substr(p);
}

std::uint8_t CommandLineStart(std::string_view commandLineText) {
  std::string work(ClipTrailingBlanks(commandLineText).substr(0, kWorkChars));
  if (work.empty()) return 1;
  for (char& c : work) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::size_t found = work.find(kProgramName);
  if (found == std::string::npos) return 1;
  std::size_t start = found + kProgramName.size();  // 0-based index after the name
  if (start < work.size() && work[start] == '"') ++start;
  return static_cast<std::uint8_t>(std::min(start + 1, kMaxPosition));
}

std::uint8_t CommandLineLength(std::string_view commandLineText) {
  return static_cast<std::uint8_t>(
      std::min(ClipTrailingBlanks(commandLineText).size(), kMaxPosition));
}

std::string_view CommandLineArgument(std::string_view commandLineText, std::uint8_t start,
                                     std::uint8_t length) {
  if (start < 1 || start > length || start > commandLineText.size()) return {};
  const std::size_t count = std::min<std::size_t>(length, commandLineText.size()) - (start - 1);
  return StripLeadingBlanks(ClipTrailingBlanks(commandLineText.substr(start - 1, count)));
}

}  // namespace lumbra

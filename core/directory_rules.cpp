#include "core/directory_rules.h"

#include <algorithm>

namespace lumbra {

namespace {

constexpr std::uint32_t kFilteringBits = 0x16;  // hidden, system, directory
constexpr std::string_view kNot83Characters = " +,;=[]";

// One component with its name cut to 8 characters and its extension (from
// the last dot) to 3.
std::string ShortComponent(std::string_view component) {
  if (component == "." || component == "..") return std::string(component);
  const std::size_t dot = component.rfind('.');
  if (dot == std::string_view::npos) return std::string(component.substr(0, 8));
  // Earlier dots belong to the name, where an 8.3 name cannot hold them.
  std::string name(component.substr(0, dot).substr(0, 8));
  std::replace(name.begin(), name.end(), '.', '_');
  return name + std::string(component.substr(dot, 4));
}

}  // namespace

bool PassesAttributeFilter(std::uint32_t attributes, std::uint32_t wanted) {
  const std::uint32_t a = attributes & kFilteringBits;
  const std::uint32_t w = wanted & kFilteringBits;
  if (w == 0) return a == 0;
  return a == 0 || (a & w) != 0;
}

std::string RuleShortPath(std::string_view path) {
  std::string text(path);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char& c = text[i];
    if (c == '/') c = '\\';
    if ((c == ':' && i != 1) || kNot83Characters.find(c) != std::string_view::npos) c = '_';
  }
  std::string result;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\\', start);
    const std::string_view component = std::string_view(text).substr(
        start, end == std::string::npos ? std::string::npos : end - start);
    result += ShortComponent(component);
    if (end == std::string::npos) break;
    result += '\\';
    start = end + 1;
  }
  if (result.size() > kShortPathChars) result.resize(kShortPathChars);
  return result;
}

bool NameSurvivesCodePage(std::string_view name) {
  return name.find('?') == std::string_view::npos;
}

}  // namespace lumbra

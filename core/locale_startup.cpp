#include "core/locale_startup.h"

#include <charconv>

#include "core/ascii_case.h"
#include "core/fixed_text.h"

namespace lumbra {

namespace {

constexpr std::size_t kKeyChars = 31;
constexpr std::size_t kValueChars = 1024;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

int NumberOr(std::string_view text, int fallback) {
  text = Trimmed(text);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

bool IsSeparator(char c) { return c == ',' || c == ' ' || c == '\t'; }

template <std::size_t N>
void ReplaceNames(std::array<FixedText<N>, 12>& names, const std::vector<std::string>& items) {
  for (std::size_t i = 0; i < items.size() && i < names.size(); ++i) names[i] = items[i];
}

}  // namespace

void ApplyWindowsSettings(Locale& locale, const IntlReader& read) {
  const int iTime = NumberOr(read("iTime", "0"), 0);
  const int iTLzero = NumberOr(read("iTLzero", "1"), 1);
  std::string separator = read("sTime", ":").substr(0, 1);
  if (separator.empty()) separator = ":";
  locale.windowsAm = read("s1159", "AM");
  locale.windowsPm = read("s2359", "PM");
  locale.shortDateFormat = read("sShortDate", "MM/dd/yy");
  locale.longDateFormat = read("sLongDate", "ddd', 'MMMM' 'dd', 'yyyy");
  locale.shortTimeFormat = WindowsTimeFormat(iTime, iTLzero, separator, false);
  locale.longTimeFormat = WindowsTimeFormat(iTime, iTLzero, separator, true);
}

std::vector<EnvironmentLine> ParseEnvironmentText(std::string_view text) {
  std::vector<EnvironmentLine> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Trimmed(line.substr(0, equals));
    if (key.empty()) continue;
    lines.push_back({std::string(key.substr(0, kKeyChars)),
                     std::string(Trimmed(line.substr(equals + 1)).substr(0, kValueChars))});
  }
  return lines;
}

std::vector<std::string> SplitEnvironmentItems(std::string_view value) {
  std::vector<std::string> items;
  std::size_t i = 0;
  while (i < value.size()) {
    if (IsSeparator(value[i])) {
      ++i;
      continue;
    }
    std::string item;
    if (value[i] == '"') {
      ++i;
      while (i < value.size()) {
        if (value[i] == '"') {
          if (i + 1 < value.size() && value[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += value[i++];
      }
    } else {
      while (i < value.size() && !IsSeparator(value[i])) item += value[i++];
    }
    items.push_back(std::move(item));
  }
  return items;
}

std::array<std::uint16_t, 256> CollatingOrderOf(std::string_view sequence) {
  std::array<std::uint16_t, 256> order{};
  std::array<bool, 256> listed{};
  unsigned lowest = 256;
  for (char c : sequence)
    lowest = std::min(lowest, static_cast<unsigned>(static_cast<unsigned char>(c)));
  for (std::size_t code = 0; code < order.size(); ++code) {
    order[code] = static_cast<std::uint16_t>(code * 256);
  }
  std::uint16_t rank = 0;
  for (char c : sequence) {
    const auto code = static_cast<unsigned char>(c);
    if (listed[code]) continue;  // the first place of a character counts
    listed[code] = true;
    order[code] = static_cast<std::uint16_t>(lowest * 256 + rank++);
  }
  return order;
}

void ApplyEnvironment(Locale& locale, std::string_view fileText,
                      const WindowsCollation& windowsCollation) {
  for (const EnvironmentLine& line : ParseEnvironmentText(fileText)) {
    const std::vector<std::string> items = SplitEnvironmentItems(line.value);
    if (SameIgnoringCase(line.key, "WEXMONTH")) {
      ReplaceNames(locale.monthNames, items);
    } else if (SameIgnoringCase(line.key, "WEXMON")) {
      ReplaceNames(locale.monthAbbreviations, items);
    } else if (SameIgnoringCase(line.key, "WEXAMPM")) {
      if (items.size() == 1 && SameIgnoringCase(items[0], "WINDOWS")) {
        locale.am = locale.windowsAm;
        locale.pm = locale.windowsPm;
      } else {
        if (items.size() >= 1) locale.am = items[0];
        if (items.size() >= 2) locale.pm = items[1];
      }
    } else if (SameIgnoringCase(line.key, "WEXCOLSEQ")) {
      if (items.size() == 1 && SameIgnoringCase(items[0], "WINDOWS")) {
        if (windowsCollation) locale.collatingOrder = windowsCollation();
      } else if (!items.empty()) {
        std::string sequence;
        for (const std::string& item : items) sequence += item;
        locale.collatingOrder = CollatingOrderOf(sequence);
      }
    } else if (SameIgnoringCase(line.key, "WEXDIGRAPH")) {
      // Each item is a character followed by the two letters it sorts as.
      locale.digraphs.clear();
      for (const std::string& item : items) {
        if (item.size() != 3) continue;
        locale.digraphs.push_back(
            {static_cast<unsigned char>(item[0]),
             {static_cast<unsigned char>(item[1]), static_cast<unsigned char>(item[2])}});
      }
    }
  }
}

std::string EnvironmentFilePath(std::string_view programPath) {
  const std::size_t slash = programPath.find_last_of("\\/:");
  const std::size_t dot = programPath.rfind('.');
  const bool hasExtension =
      dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  return std::string(hasExtension ? programPath.substr(0, dot) : programPath) + ".ENV";
}

}  // namespace lumbra

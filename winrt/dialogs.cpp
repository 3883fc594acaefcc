#include "winrt/dialogs.h"

namespace lumbra {

namespace {

struct ButtonEntry {
  std::int32_t code;
  const char* caption;
  std::int32_t nativeId;  // IDOK, IDYES, ...
};

constexpr ButtonEntry kButtons[] = {
    {BUTTON::Ok, "OK", 1},         {BUTTON::Yes, "&Yes", 6},     {BUTTON::No, "&No", 7},
    {BUTTON::Abort, "&Abort", 3},  {BUTTON::Retry, "&Retry", 4}, {BUTTON::Ignore, "&Ignore", 5},
    {BUTTON::Cancel, "Cancel", 2}, {BUTTON::Help, "&Help", 9},
};

}  // namespace

std::vector<DialogButton> MessageDialogButtons(std::int32_t codes, std::string_view captions) {
  std::vector<DialogButton> buttons;
  if (!captions.empty()) {
    std::int32_t n = 0;
    while (true) {
      const std::size_t bar = captions.find('|');
      ++n;
      buttons.push_back({n, std::string(captions.substr(0, bar)), 100 + n});
      if (bar == std::string_view::npos) break;
      captions.remove_prefix(bar + 1);
    }
    return buttons;
  }
  for (const auto& b : kButtons) {
    if (codes & b.code) buttons.push_back({b.code, b.caption, b.nativeId});
  }
  if (buttons.empty()) buttons.push_back({BUTTON::Ok, "OK", 1});
  return buttons;
}

std::string MessageDialogLines(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '|') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string PlatformFilter(std::string_view filter) {
  std::string out(filter);
  for (char& c : out) {
    if (c == '|') c = '\0';
  }
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

std::string FolderOfChoice(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

}  // namespace lumbra

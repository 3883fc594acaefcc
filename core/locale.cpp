#include "core/locale.h"

namespace lumbra {

namespace {

constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

}  // namespace

std::array<std::uint16_t, 256> DefaultCollatingOrder() {
  std::array<std::uint16_t, 256> order{};
  for (std::size_t code = 0; code < order.size(); ++code) {
    order[code] = static_cast<std::uint16_t>(code);
  }
  return order;
}

std::string WindowsTimeFormat(int iTime, int iTLzero, std::string_view separator, bool seconds) {
  std::string quoted = "'";
  for (char c : separator.substr(0, 1)) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  quoted += "'";
  std::string format = iTime == 1 ? "H" : "h";
  if (iTLzero == 1) format += format;
  format += quoted + "mm";
  if (seconds) format += quoted + "ss";
  if (iTime != 1) format += " tt";
  return format;
}

Locale::Locale()
    : am("AM"),
      pm("PM"),
      windowsAm("AM"),
      windowsPm("PM"),
      shortDateFormat("MM/dd/yy"),
      longDateFormat("ddd', 'MMMM' 'dd', 'yyyy"),
      shortTimeFormat(WindowsTimeFormat(0, 1, ":", false)),
      longTimeFormat(WindowsTimeFormat(0, 1, ":", true)),
      collatingOrder(DefaultCollatingOrder()) {
  for (std::size_t m = 0; m < 12; ++m) {
    monthNames[m] = kMonthNames[m];
    monthAbbreviations[m] = std::string_view(kMonthNames[m]).substr(0, 3);
  }
}

Locale& RuntimeLocale() {
  static Locale locale;
  return locale;
}

void ResetLocale() { RuntimeLocale() = Locale(); }

}  // namespace lumbra

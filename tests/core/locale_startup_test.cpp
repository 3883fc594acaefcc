#include "core/locale_startup.h"

#include <gtest/gtest.h>

#include <map>

#include "core/collating_compare.h"
#include "core/date_time.h"
#include "core/picture.h"

namespace lumbra {
namespace {

class LocaleStartupTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetLocale(); }
  void TearDown() override { ResetLocale(); }
  Locale& locale = RuntimeLocale();
};

TEST_F(LocaleStartupTest, EnvironmentLinesAndItems) {
  const auto lines = ParseEnvironmentText(
      "WEXMONTH = a,b\r\nno equals sign\n=value without key\n  wexampm=x\nLONGKEY" +
      std::string(40, 'K') + "=" + std::string(2000, 'v'));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].key, "WEXMONTH");
  EXPECT_EQ(lines[0].value, "a,b");
  EXPECT_EQ(lines[1].key, "wexampm");
  EXPECT_EQ(lines[2].key.size(), 31u);
  EXPECT_EQ(lines[2].value.size(), 1024u);

  using Items = std::vector<std::string>;
  EXPECT_EQ(SplitEnvironmentItems("one, two three,,four"), (Items{"one", "two", "three", "four"}));
  EXPECT_EQ(SplitEnvironmentItems(R"("a, b" "say ""hi""" "" x)"),
            (Items{"a, b", "say \"hi\"", "", "x"}));
  EXPECT_EQ(SplitEnvironmentItems(R"("unterminated, item)"), (Items{"unterminated, item"}));
  EXPECT_TRUE(SplitEnvironmentItems(" , ").empty());
}

TEST_F(LocaleStartupTest, MonthNamesAndMarkers) {
  ApplyEnvironment(locale,
                   "wexmonth=Janvier,F\xE9vrier,Mars,Avril,Mai,Juin,Juillet,Ao\xFBt,Septembre,"
                   "Octobre,Novembre,\"Decembre tres long\"\n"
                   "WEXMON=jan f\xE9v\n"
                   "WEXAMPM=matin,soir\n");
  EXPECT_EQ(locale.monthNames[0], "Janvier");
  EXPECT_EQ(locale.monthNames[11], "Decembre tre");  // cut to 12
  EXPECT_EQ(locale.monthAbbreviations[0], "jan");
  EXPECT_EQ(locale.monthAbbreviations[1], "f\xE9v");
  EXPECT_EQ(locale.monthAbbreviations[2], "Mar");  // too few items: the rest stay
  EXPECT_EQ(locale.am, "ma");
  EXPECT_EQ(locale.pm, "so");
  EXPECT_EQ(FORMAT(DateSerial(1998, 1, 5), "@D3"), "jan  5, 1998");
  EXPECT_EQ(FORMAT(TimeSerial(14, 5, 0, 0), "@T3"), " 2:05so");

  locale.windowsAm = "vm";
  locale.windowsPm = "nm";
  ApplyEnvironment(locale, "WEXAMPM=windows");
  EXPECT_EQ(locale.am, "vm");
  EXPECT_EQ(locale.pm, "nm");
}

TEST_F(LocaleStartupTest, MissingFileOrKeysLeaveTheDefaults) {
  ApplyEnvironment(locale, "");
  ApplyEnvironment(locale, "WEXCHARSET=1\nWEXBUTTON=&Yes\n");
  const Locale defaults;
  EXPECT_EQ(locale.monthNames, defaults.monthNames);
  EXPECT_EQ(locale.am, defaults.am);
  EXPECT_EQ(locale.collatingOrder, defaults.collatingOrder);
  ApplyWindowsSettings(
      locale, [](std::string_view, std::string_view fallback) { return std::string(fallback); });
  EXPECT_EQ(FORMAT(DateSerial(1998, 1, 5), "@D17"), "01/05/98");
  EXPECT_EQ(FORMAT(TimeSerial(14, 5, 9, 0), "@T7"), "02:05 PM");
  EXPECT_EQ(FORMAT(TimeSerial(14, 5, 9, 0), "@T8"), "02:05:09 PM");
}

TEST_F(LocaleStartupTest, WindowsSettingsMakeTheWindowsPictures) {
  const std::map<std::string, std::string, std::less<>> intl = {
      {"iTime", "1"},
      {"iTLzero", "0"},
      {"sTime", "."},
      {"s1159", "vorm"},
      {"sShortDate", "dd.MM.yyyy"},
      {"sLongDate", "dddd, d. MMMM yyyy"}};
  ApplyWindowsSettings(locale, [&](std::string_view key, std::string_view fallback) {
    const auto found = intl.find(key);
    return found == intl.end() ? std::string(fallback) : found->second;
  });
  EXPECT_EQ(FORMAT(DateSerial(1998, 1, 5), "@D17"), "05.01.1998");
  EXPECT_EQ(ClipTrailingBlanks(FORMAT(DateSerial(1998, 1, 5), "@D18")), "Monday, 5. January 1998");
  EXPECT_EQ(ClipTrailingBlanks(FORMAT(TimeSerial(7, 5, 9, 0), "@T7")), "7.05");
  EXPECT_EQ(ClipTrailingBlanks(FORMAT(TimeSerial(17, 5, 9, 0), "@T8")), "17.05.09");
  EXPECT_EQ(locale.windowsAm, "vo");

  // The 12-hour clock uses the Windows markers, not the runtime's.
  ApplyWindowsSettings(locale, [](std::string_view key, std::string_view fallback) {
    return key == "s2359" ? std::string("nm") : std::string(fallback);
  });
  locale.pm = "xx";
  EXPECT_EQ(FORMAT(TimeSerial(17, 5, 9, 0), "@T7"), "05:05 nm");
  // A separator that is a format letter stays a literal.
  ApplyWindowsSettings(locale, [](std::string_view key, std::string_view fallback) {
    return key == "sTime" ? std::string("h") : std::string(fallback);
  });
  EXPECT_EQ(FORMAT(TimeSerial(17, 5, 9, 0), "@T7"), "05h05 PM");
}

TEST_F(LocaleStartupTest, CollatingSequenceAndDigraphs) {
  ApplyEnvironment(locale,
                   "WEXCOLSEQ=AaBbCc\nWEXDIGRAPH=\xC6"
                   "AE,\xDF"
                   "ss,no\n");
  EXPECT_LT(CollatingCompare("a", "B", locale), 0);
  EXPECT_LT(CollatingCompare("A", "a", locale), 0);
  EXPECT_LT(CollatingCompare("c", "D", locale), 0);  // the block sorts at 'A'
  EXPECT_GT(CollatingCompare("[", "c", locale), 0);  // unlisted codes keep code order
  EXPECT_LT(CollatingCompare("0", "A", locale), 0);
  ASSERT_EQ(locale.digraphs.size(), 2u);
  EXPECT_EQ(CollatingCompare("Stra\xDF"
                             "e",
                             "Strasse", locale),
            0);

  bool asked = false;
  ApplyEnvironment(locale, "WEXCOLSEQ=WINDOWS", [&] {
    asked = true;
    return DefaultCollatingOrder();
  });
  EXPECT_TRUE(asked);
  EXPECT_EQ(locale.collatingOrder, DefaultCollatingOrder());
}

TEST(EnvironmentFile, IsTheProgramPathWithEnv) {
  EXPECT_EQ(EnvironmentFilePath("C:\\APPS\\LUMBRA.EXE"), "C:\\APPS\\LUMBRA.ENV");
  EXPECT_EQ(EnvironmentFilePath("C:\\my.apps\\lumbra"), "C:\\my.apps\\lumbra.ENV");
}

}  // namespace
}  // namespace lumbra

#include "core/picture.h"

#include <gtest/gtest.h>

#include <random>

#include "core/date_time.h"
#include "core/locale.h"

namespace lumbra {
namespace {

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTwoDigitYearBase(1998);
    ResetLocale();
  }
  void TearDown() override {
    SetTwoDigitYearBase(0);
    ResetLocale();
  }
};

struct Expected {
  const char* picture;
  const char* text;
};

TEST_F(PictureTest, EveryDatePictureOfAKnownDate) {
  // 5 January 1998 (a Monday) and 23 October 2007.
  const std::int32_t january = DateSerial(1998, 1, 5);
  const Expected january5[] = {
      {"@D1", " 1/05/98"},
      {"@D2", " 1/05/1998"},
      {"@D3", "Jan  5, 1998"},
      {"@D4", "January  5, 1998  "},
      {"@D5", " 5/01/98"},
      {"@D6", " 5/01/1998"},
      {"@D7", " 5 Jan 98"},
      {"@D8", " 5 Jan 1998"},
      {"@D9", "98/01/05"},
      {"@D10", "1998/01/05"},
      {"@D11", "980105"},
      {"@D12", "19980105"},
      {"@D13", " 1/98"},
      {"@D14", " 1/1998"},
      {"@D15", "98/01"},
      {"@D16", "1998/01"},
      {"@D17", "01/05/98"},
      {"@D18", "Mon, January 05, 1998  "},
      {"@D19", " 5 January 1998  "},
      {"@D20", "January  5 1998  "},
  };
  for (const Expected& e : january5) EXPECT_EQ(FORMAT(january, e.picture), e.text) << e.picture;

  const std::int32_t october = DateSerial(2007, 10, 23);
  EXPECT_EQ(FORMAT(october, "@D1"), "10/23/07");
  EXPECT_EQ(FORMAT(october, "@d6"), "23/10/2007");
  EXPECT_EQ(FORMAT(october, "D4"), "October 23, 2007  ");
  EXPECT_EQ(FORMAT(DateSerial(1801, 9, 1), "@D4"), "September  1, 1801");
}

TEST_F(PictureTest, EveryTimePictureOfAKnownTime) {
  const std::int32_t afternoon = TimeSerial(14, 5, 9, 0);
  const Expected expected[] = {
      {"@T1", "14:05"},  {"@T2", "1405"},       {"@T3", " 2:05PM"},  {"@T4", "14:05:09"},
      {"@T5", "140509"}, {"@T6", " 2:05:09PM"}, {"@T7", "02:05 PM"}, {"@T8", "02:05:09 PM"},
  };
  for (const Expected& e : expected) EXPECT_EQ(FORMAT(afternoon, e.picture), e.text) << e.picture;
}

TEST_F(PictureTest, TwelveHourClockAroundMidnightAndNoon) {
  EXPECT_EQ(FORMAT(TimeSerial(0, 30, 0, 0), "@T3"), "12:30AM");
  EXPECT_EQ(FORMAT(TimeSerial(12, 5, 0, 0), "@T3"), "12:05PM");
  EXPECT_EQ(FORMAT(TimeSerial(11, 59, 59, 99), "@T6"), "11:59:59AM");
  EXPECT_EQ(FORMAT(TimeSerial(23, 0, 0, 0), "@T3"), "11:00PM");
  EXPECT_EQ(FORMAT(1, "@T3"), "12:00AM");  // the first hundredth of the day
}

TEST_F(PictureTest, InvalidSerialsShowBlanksOfThePictureWidth) {
  EXPECT_EQ(FORMAT(-1, "@D1"), "        ");
  EXPECT_EQ(FORMAT(3, "@D2"), "          ");
  EXPECT_EQ(FORMAT(kLastDateSerial + 1, "@D1"), "        ");
  EXPECT_EQ(FORMAT(1e12, "@D1"), "        ");
  EXPECT_EQ(FORMAT(0, "@T3"), "       ");
  EXPECT_EQ(FORMAT(-1, "@T1"), "     ");
  EXPECT_EQ(FORMAT(kLastTimeSerial + 1, "@T4"), "        ");
  EXPECT_EQ(FORMAT(0, "@D1b"), "        ");
}

TEST_F(PictureTest, LocaleNamesAndMarkersAreUsed) {
  Locale& locale = RuntimeLocale();
  locale.monthNames[0] = "Janvier";
  locale.monthAbbreviations[0] = "jan";
  locale.am = "am";
  locale.pm = "pm";
  locale.windowsPm = "nm";
  EXPECT_EQ(FORMAT(DateSerial(1998, 1, 5), "@D3"), "jan  5, 1998");
  EXPECT_EQ(FORMAT(DateSerial(1998, 1, 5), "@D19"), " 5 Janvier 1998  ");
  EXPECT_EQ(FORMAT(TimeSerial(14, 5, 0, 0), "@T3"), " 2:05pm");
  EXPECT_EQ(FORMAT(TimeSerial(14, 5, 0, 0), "@T7"), "02:05 nm");
}

TEST_F(PictureTest, WindowsFormatLetters) {
  Locale& locale = RuntimeLocale();
  locale.shortDateFormat = "d.M.yyyy";
  locale.longDateFormat = "dddd d 'de' MMMM 'o''clock' yy";
  locale.shortTimeFormat = "HH'h'mm";
  locale.longTimeFormat = "H:m:s t";
  const std::int32_t date = DateSerial(1998, 1, 5);
  const std::int32_t time = TimeSerial(7, 5, 3, 0);
  const std::string shortDate = FORMAT(date, "@D17");
  EXPECT_EQ(ClipTrailingBlanks(shortDate), "5.1.1998");
  EXPECT_EQ(shortDate.size(), 10u);
  EXPECT_EQ(ClipTrailingBlanks(FORMAT(date, "@D18")), "Monday 5 de January o'clock 98");
  EXPECT_EQ(FORMAT(time, "@T7"), "07h05");
  EXPECT_EQ(ClipTrailingBlanks(FORMAT(time, "@T8")), "7:5:3 A");
}

TEST_F(PictureTest, PictureSyntax) {
  EXPECT_EQ(CompilePicture("@D1").kind, PictureKind::Date);
  EXPECT_EQ(CompilePicture("t3").kind, PictureKind::Time);
  EXPECT_EQ(CompilePicture("@S255").width, 255);
  EXPECT_TRUE(CompilePicture("@D1B").blankWhenZero);
  const char* invalid[] = {"",    "@",  "@D0", "@D21",  "@T9",   "@D1x",  "@S",    "@S0",
                           "@Q1", "@N", "@N0", "@N101", "@N9.9", "@N~$9", "@N9bb", "@D99999999999",
                           "@T-1"};
  for (const char* text : invalid) {
    EXPECT_EQ(CompilePicture(text).kind, PictureKind::Invalid) << text;
    EXPECT_EQ(FORMAT(5, text), "") << text;
  }
  EXPECT_EQ(CompilePicture(std::string(101, 'S')).kind, PictureKind::Invalid);
  EXPECT_EQ(CompilePicture("@S" + std::string(98, '1')).kind, PictureKind::Invalid);
}

TEST_F(PictureTest, StringPictures) {
  EXPECT_EQ(FORMAT("abc", "@S5"), "abc  ");
  EXPECT_EQ(FORMAT("abcdefgh", "@S5"), "abcde");
  EXPECT_EQ(FORMAT(1234, "@S6"), "1234  ");
  EXPECT_EQ(FORMAT(0, "@S3b"), "   ");
  EXPECT_EQ(FORMAT(1.5, "@S5"), "1.5  ");
}

TEST_F(PictureTest, NumericPicturesGroupAlignAndFill) {
  const Expected expected[] = {
      {"@N9", "1,234,567"},      {"@N20", "                 999"}, {"@n9", "1,234,567"},
      {"@N012", "000001234567"}, {"@N_12", "     1234567"},        {"@N*12", "***1,234,567"},
      {"@N12.", "   1.234.567"}, {"@N12_", "   1 234 567"},        {"@N12v", "     1234567"},
      {"@N$12", "  $1,234,567"}, {"@N12~ kr~", "1,234,567 kr"},    {"@N8", "########"},
  };
  EXPECT_EQ(FORMAT(1234567, expected[0].picture), expected[0].text);
  EXPECT_EQ(FORMAT(999, expected[1].picture), expected[1].text);
  for (std::size_t i = 2; i < std::size(expected) - 1; ++i)
    EXPECT_EQ(FORMAT(1234567, expected[i].picture), expected[i].text) << expected[i].picture;
  EXPECT_EQ(FORMAT(123456789, "@N8"), "########");
  EXPECT_EQ(FORMAT(0, "@N9"), "        0");
  EXPECT_EQ(FORMAT(0, "@N9b"), "         ");
  EXPECT_EQ(FORMAT(5, "@N9b"), "        5");
}

TEST_F(PictureTest, NumericPicturesSignsAndDecimals) {
  EXPECT_EQ(FORMAT(-1234.5, "@N-10.2"), " -1,234.50");
  EXPECT_EQ(FORMAT(1234.5, "@N-10.2"), "  1,234.50");
  EXPECT_EQ(FORMAT(-1234.5, "@N(10.2)"), "(1,234.50)");
  EXPECT_EQ(FORMAT(1234.5, "@N(10.2)"), " 1,234.50 ");
  EXPECT_EQ(FORMAT(-7, "@N6-"), "    7-");
  EXPECT_EQ(FORMAT(-7, "@N6"), "    -7");  // no sign mark still shows the sign
  EXPECT_EQ(FORMAT(-7, "@N-06"), "-00007");
  EXPECT_EQ(FORMAT(1234.5, "@N12.`2"), "    1.234,50");
  EXPECT_EQ(FORMAT(12.34, "@N6v2"), "  1234");
  EXPECT_EQ(FORMAT(1.005, "@N6.2"), "  1.01");  // half away from zero
  EXPECT_EQ(FORMAT(-2.5, "@N4"), "  -3");
  EXPECT_EQ(FORMAT(2.5, "@N4"), "   3");
  EXPECT_EQ(FORMAT(9.999, "@N6.2"), " 10.00");
  EXPECT_EQ(FORMAT(-0.001, "@N6.2"), "  0.00");  // rounds to zero: no sign
  EXPECT_EQ(FORMAT(1e300, "@N20"), std::string(20, '#'));
  EXPECT_EQ(FORMAT(std::numeric_limits<double>::infinity(), "@N5"), "#####");
  EXPECT_EQ(FORMAT(std::numeric_limits<double>::quiet_NaN(), "@N5"), "#####");
  EXPECT_EQ(FORMAT("  42 ", "@N5"), "   42");
}

TEST_F(PictureTest, DeformatReadsBackWhatFormatWrites) {
  for (std::int32_t serial = DateSerial(1918, 1, 1); serial < DateSerial(2018, 1, 1);
       serial += 13) {
    ASSERT_EQ(DEFORMAT(FORMAT(serial, "@D1"), "@D1"), serial);
  }
  for (const char* picture :
       {"@D2", "@D3", "@D4", "@D6", "@D8", "@D10", "@D12", "@D17", "@D18", "@D19", "@D20"}) {
    const std::int32_t serial = DateSerial(2007, 10, 23);
    EXPECT_EQ(DEFORMAT(FORMAT(serial, picture), picture), serial) << picture;
  }
  for (std::int32_t minute = 0; minute < 24 * 60; ++minute) {
    const std::int32_t serial = TimeSerial(minute / 60, minute % 60, 0, 0);
    const std::int32_t expected = serial == 0 ? 1 : serial;
    ASSERT_EQ(DEFORMAT(FORMAT(serial == 0 ? 1 : serial, "@T3"), "@T3"), expected) << minute;
  }
  for (const char* picture : {"@T1", "@T4", "@T5", "@T6", "@T7", "@T8"}) {
    const std::int32_t serial = TimeSerial(21, 7, 45, 0);
    const bool seconds =
        picture[2] == '4' || picture[2] == '5' || picture[2] == '6' || picture[2] == '8';
    EXPECT_EQ(DEFORMAT(FORMAT(serial, picture), picture),
              seconds ? serial : TimeSerial(21, 7, 0, 0))
        << picture;
  }
  for (double value : {0.0, 5.0, 999.0, 1000.0, 1234567.0, 9999999.0}) {
    EXPECT_EQ(DEFORMAT(FORMAT(value, "@N9"), "@N9"), value) << value;
  }
  EXPECT_EQ(DEFORMAT(FORMAT(99999999.0, "@N9"), "@N9"), 0);  // shown as '#'
  EXPECT_EQ(DEFORMAT(FORMAT(-1234.5, "@N(10.2)"), "@N(10.2)"), -1234.5);
  EXPECT_EQ(DEFORMAT(FORMAT(1234.5, "@N12.`2"), "@N12.`2"), 1234.5);
  EXPECT_EQ(DEFORMAT(FORMAT(12.34, "@N6v2"), "@N6v2"), 12.34);
}

TEST_F(PictureTest, DeformatOfUnreadableTextIsZero) {
  EXPECT_EQ(DEFORMAT("", "@D1"), 0);
  EXPECT_EQ(DEFORMAT("13/45/98", "@D1"), 0);
  EXPECT_EQ(DEFORMAT("Foo 5, 1998", "@D3"), 0);
  EXPECT_EQ(DEFORMAT("", "@T3"), 0);
  EXPECT_EQ(DEFORMAT("13:05PM", "@T3"), 0);
  EXPECT_EQ(DEFORMAT("25:00", "@T1"), 0);
  EXPECT_EQ(DEFORMAT("99999999999999999999", "@D1"), 0);
  EXPECT_EQ(DEFORMAT("1/5/98", "@D1"), DateSerial(1998, 1, 5));
  EXPECT_EQ(DEFORMAT("2:05 pm", "@T3"), TimeSerial(14, 5, 0, 0));
}

TEST_F(PictureTest, RandomPicturesAndTextsStayInBounds) {
  // Picture texts and texts to read built from the characters that matter,
  // under the sanitizers: every result keeps to its picture's width.
  std::mt19937 random(11);
  const std::string alphabet = "@NDTSEPKnb$~-(0_*.`v)1234567899:/ AMPamp";
  const double values[] = {0, -1, 1, 72687, 8640000, -1234.567, 1e300, 2994627};
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 12, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    const Picture picture = CompilePicture(text);
    const std::string shown = FORMAT(values[random() % std::size(values)], picture);
    if (picture.kind == PictureKind::Invalid) {
      ASSERT_TRUE(shown.empty()) << text;
    } else if (picture.kind != PictureKind::Date) {
      ASSERT_EQ(shown.size(), static_cast<std::size_t>(picture.width)) << text;
    }
    (void)DEFORMAT(text, picture);
    (void)DEFORMAT(shown, picture);
  }
}

}  // namespace
}  // namespace lumbra

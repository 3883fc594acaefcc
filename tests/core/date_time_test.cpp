#include "core/date_time.h"

#include <gtest/gtest.h>

namespace lumbra {
namespace {

class DateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override { SetTwoDigitYearBase(1998); }
  void TearDown() override { SetTwoDigitYearBase(0); }
};

TEST_F(DateTimeTest, DateSerialsOfKnownDays) {
  EXPECT_EQ(DateSerial(1801, 1, 1), 4);
  EXPECT_EQ(DateSerial(2000, 1, 1), 72687);
  EXPECT_EQ(DateSerial(2000, 2, 29), 72746);
  EXPECT_EQ(DateSerial(2000, 3, 1), 72747);
  EXPECT_EQ(DateSerial(9999, 12, 31), 2994626);
}

TEST_F(DateTimeTest, InvalidDatesGiveMinusOne) {
  EXPECT_EQ(DateSerial(1900, 2, 29), -1);  // a century that is not a leap year
  EXPECT_EQ(DateSerial(1800, 12, 31), -1);
  EXPECT_EQ(DateSerial(10000, 1, 1), -1);
  EXPECT_EQ(DateSerial(2001, 0, 1), -1);
  EXPECT_EQ(DateSerial(2001, 13, 1), -1);
  EXPECT_EQ(DateSerial(2001, 4, 31), -1);
  EXPECT_EQ(DateSerial(2001, 4, 0), -1);
}

TEST_F(DateTimeTest, DatePartsInvertsEverySerial) {
  // Every day of the range round-trips, and consecutive serials are
  // consecutive days.
  DateParts previous = DatePartsOf(kFirstDateSerial);
  ASSERT_TRUE(previous.valid);
  EXPECT_EQ(previous.year, 1801);
  EXPECT_EQ(previous.month, 1);
  EXPECT_EQ(previous.day, 1);
  for (std::int32_t serial = kFirstDateSerial + 1; serial <= kLastDateSerial; ++serial) {
    const DateParts parts = DatePartsOf(serial);
    ASSERT_TRUE(parts.valid) << serial;
    ASSERT_EQ(DateSerial(parts.year, parts.month, parts.day), serial);
    const bool nextDay = parts.day == previous.day + 1 && parts.month == previous.month;
    const bool nextMonth =
        parts.day == 1 && (parts.month == previous.month + 1 ||
                           (parts.month == 1 && parts.year == previous.year + 1));
    ASSERT_TRUE(nextDay || nextMonth) << serial;
    previous = parts;
  }
  EXPECT_EQ(previous.year, 9999);
  EXPECT_FALSE(DatePartsOf(3).valid);
  EXPECT_FALSE(DatePartsOf(0).valid);
  EXPECT_FALSE(DatePartsOf(-1).valid);
  EXPECT_FALSE(DatePartsOf(kLastDateSerial + 1).valid);
}

TEST_F(DateTimeTest, TwoDigitYearsFallInTheWindowOfTheCurrentYear) {
  EXPECT_EQ(CompleteTwoDigitYear(17), 2017);
  EXPECT_EQ(CompleteTwoDigitYear(18), 1918);
  EXPECT_EQ(CompleteTwoDigitYear(98), 1998);
  EXPECT_EQ(DateSerial(0, 1, 1), DateSerial(2000, 1, 1));
  EXPECT_EQ(DateSerial(99, 12, 31), DateSerial(1999, 12, 31));
  SetTwoDigitYearBase(2050);
  EXPECT_EQ(CompleteTwoDigitYear(69), 2069);
  EXPECT_EQ(CompleteTwoDigitYear(70), 1970);
  EXPECT_EQ(CompleteTwoDigitYear(2017), 2017);
}

TEST_F(DateTimeTest, SystemDatesCarryMonthAndDay) {
  EXPECT_EQ(SystemDateSerial(1999, 13, 1), DateSerial(2000, 1, 1));
  EXPECT_EQ(SystemDateSerial(2001, 2, 29), DateSerial(2001, 3, 1));
  EXPECT_EQ(SystemDateSerial(2000, 12, 32), DateSerial(2001, 1, 1));
  EXPECT_EQ(SystemDateSerial(2000, 1, 2000000000), -1);  // ends, out of range
  EXPECT_EQ(SystemDateSerial(2000, 0, 1), -1);
}

TEST_F(DateTimeTest, WeekdayOfKnownDates) {
  EXPECT_EQ(DayOfWeek(DateSerial(1801, 1, 1)), 4);  // Thursday
  EXPECT_EQ(DayOfWeek(DateSerial(2000, 1, 1)), 6);  // Saturday
  EXPECT_EQ(DayOfWeek(DateSerial(1998, 1, 5)), 1);  // Monday
  EXPECT_EQ(DayOfWeek(0), -1);
}

TEST_F(DateTimeTest, TimeSerials) {
  EXPECT_EQ(TimeSerial(0, 0, 0, 0), 0);
  EXPECT_EQ(TimeSerial(0, 0, 0, 1), 2);
  EXPECT_EQ(TimeSerial(0, 0, 1, 0), 101);
  EXPECT_EQ(TimeSerial(23, 59, 59, 99), 8640000);
  EXPECT_EQ(TimeSerial(24, 0, 0, 0), -1);
  EXPECT_EQ(TimeSerial(0, 60, 0, 0), -1);
  EXPECT_EQ(TimeSerial(0, 0, 60, 0), -1);
  EXPECT_EQ(TimeSerial(0, 0, 0, 100), -1);
  EXPECT_EQ(TimeSerial(-1, 0, 0, 0), -1);

  const TimeParts parts = TimePartsOf(TimeSerial(14, 5, 33, 7));
  ASSERT_TRUE(parts.valid);
  EXPECT_EQ(parts.hours, 14);
  EXPECT_EQ(parts.minutes, 5);
  EXPECT_EQ(parts.seconds, 33);
  EXPECT_EQ(parts.hundredths, 7);
  EXPECT_FALSE(TimePartsOf(0).valid);
  EXPECT_FALSE(TimePartsOf(-1).valid);
  EXPECT_FALSE(TimePartsOf(8640001).valid);
}

TEST_F(DateTimeTest, CurrentTimeAndDateAreValidSerials) {
  const std::int32_t time = CurrentTimeSerial();
  EXPECT_GE(time, 0);
  EXPECT_LE(time, kLastTimeSerial);
  EXPECT_TRUE(DatePartsOf(CurrentDateSerial()).valid);
}

}  // namespace
}  // namespace lumbra

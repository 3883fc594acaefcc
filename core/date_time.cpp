#include "core/date_time.h"

#include <chrono>
#include <ctime>

namespace lumbra {

namespace {

constexpr std::int32_t kFirstYear = 1801;
constexpr std::int32_t kLastYear = 9999;
constexpr std::int32_t kDaysBeforeMonth[12] = {0,   31,  59,  90,  120, 151,
                                               181, 212, 243, 273, 304, 334};
constexpr std::int32_t kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::int32_t g_twoDigitYearBase = 0;

// Leap days from year 1 up to and including `year`.
constexpr std::int32_t LeapDays(std::int32_t year) { return year / 4 - year / 100 + year / 400; }

// The serial of 1 January of `year`, counted as DateSerial counts.
std::int32_t SerialOfNewYear(std::int32_t year) {
  std::int32_t serial = (year - kFirstYear) * 365 + 1 + 3 + LeapDays(year) - LeapDays(1800);
  if (IsLeapYear(year)) serial -= 1;
  return serial;
}

struct LocalNow {
  std::tm calendar{};
  std::int32_t hundredths = 0;
};

LocalNow ReadLocalClock() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  LocalNow result;
  if (const std::tm* local = std::localtime(&seconds)) result.calendar = *local;
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  result.hundredths = static_cast<std::int32_t>(ms / 10);
  return result;
}

}  // namespace

bool IsLeapYear(std::int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

void SetTwoDigitYearBase(std::int32_t year) { g_twoDigitYearBase = year; }

std::int32_t CompleteTwoDigitYear(std::int32_t year) {
  if (year < 0 || year >= 100) return year;
  std::int32_t base = g_twoDigitYearBase;
  if (base == 0) base = ReadLocalClock().calendar.tm_year + 1900;
  std::int32_t full = base - base % 100 + year;
  if (full >= base + 20) full -= 100;
  if (full < base - 80) full += 100;
  return full;
}

std::int32_t DateSerial(std::int32_t year, std::int32_t month, std::int32_t day) {
  year = CompleteTwoDigitYear(year);
  if (year < kFirstYear || year > kLastYear) return kInvalidSerial;
  if (month < 1 || month > 12) return kInvalidSerial;
  if (day < 1 || day > DaysInMonth(year, month)) return kInvalidSerial;
  std::int32_t serial = (year - kFirstYear) * 365 + kDaysBeforeMonth[month - 1] + day + 3 +
                        LeapDays(year) - LeapDays(1800);
  if (month <= 2 && IsLeapYear(year)) serial -= 1;
  return serial;
}

std::int32_t SystemDateSerial(std::int32_t year, std::int32_t month, std::int32_t day) {
  if (month < 1 || day < 1 || year < 0 || year > kLastYear) return kInvalidSerial;
  year += (month - 1) / 12;
  month = (month - 1) % 12 + 1;
  // Each loop moves at least 28 days forward, so a wild day count ends fast.
  while (year <= kLastYear && day > DaysInMonth(year, month)) {
    day -= DaysInMonth(year, month);
    if (++month > 12) month = 1, ++year;
  }
  return DateSerial(year, month, day);
}

DateParts DatePartsOf(std::int32_t serial) {
  DateParts parts;
  if (serial < kFirstDateSerial || serial > kLastDateSerial) return parts;
  std::int32_t year = kFirstYear + (serial - kFirstDateSerial) / 365;
  while (SerialOfNewYear(year) > serial) --year;
  std::int32_t dayOfYear = serial - SerialOfNewYear(year) + 1;
  std::int32_t month = 1;
  while (dayOfYear > DaysInMonth(year, month)) dayOfYear -= DaysInMonth(year, month++);
  parts = {year, month, dayOfYear, true};
  return parts;
}

std::int32_t DayOfWeek(std::int32_t serial) {
  // Serial 4, 1 January 1801, was a Thursday.
  if (serial < kFirstDateSerial || serial > kLastDateSerial) return -1;
  return serial % 7;
}

std::int32_t TimeSerial(std::int32_t hours, std::int32_t minutes, std::int32_t seconds,
                        std::int32_t hundredths) {
  if (hours == 0 && minutes == 0 && seconds == 0 && hundredths == 0) return 0;
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
      hundredths < 0 || hundredths > 99)
    return kInvalidSerial;
  return hours * 360000 + minutes * 6000 + seconds * 100 + hundredths + 1;
}

TimeParts TimePartsOf(std::int32_t serial) {
  TimeParts parts;
  if (serial < 1 || serial > kLastTimeSerial) return parts;
  const std::int32_t t = serial - 1;
  parts = {t / 360000, t / 6000 % 60, t / 100 % 60, t % 100, true};
  return parts;
}

std::int32_t CurrentTimeSerial() {
  const LocalNow now = ReadLocalClock();
  return TimeSerial(now.calendar.tm_hour, now.calendar.tm_min, now.calendar.tm_sec % 60,
                    now.hundredths);
}

std::int32_t CurrentDateSerial() {
  const LocalNow now = ReadLocalClock();
  return DateSerial(now.calendar.tm_year + 1900, now.calendar.tm_mon + 1, now.calendar.tm_mday);
}

}  // namespace lumbra

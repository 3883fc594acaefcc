// Date and time serials: a date is a day number with 1 January 1801 = 4,
// a time is hundredths of a second since midnight plus 1 (0 = no time).
#pragma once

#include <cstdint>

namespace lumbra {

inline constexpr std::int32_t kFirstDateSerial = 4;       // 1 January 1801
inline constexpr std::int32_t kLastDateSerial = 2994626;  // 31 December 9999
inline constexpr std::int32_t kLastTimeSerial = 8640000;  // 23:59:59.99
inline constexpr std::int32_t kInvalidSerial = -1;

struct DateParts {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  bool valid = false;
};

struct TimeParts {
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
  std::int32_t seconds = 0;
  std::int32_t hundredths = 0;
  bool valid = false;
};

bool IsLeapYear(std::int32_t year);
std::int32_t DaysInMonth(std::int32_t year, std::int32_t month);

// The year that gives two-digit years their century. 0 (the default) means
// the current year of the clock; tests fix it.
void SetTwoDigitYearBase(std::int32_t year);
// A year below 100 completed into the range (base - 80) .. (base + 19).
std::int32_t CompleteTwoDigitYear(std::int32_t year);

// The serial of a calendar date, or -1 when the date is invalid.
std::int32_t DateSerial(std::int32_t year, std::int32_t month, std::int32_t day);
// As DateSerial, but a month above 12 carries into the year and a day beyond
// the month's length into the next month (system dates).
std::int32_t SystemDateSerial(std::int32_t year, std::int32_t month, std::int32_t day);
// The calendar date of a serial; invalid below 4 or above 2,994,626.
DateParts DatePartsOf(std::int32_t serial);
// 0 for Sunday .. 6 for Saturday; -1 for an invalid serial.
std::int32_t DayOfWeek(std::int32_t serial);

// The serial of a time of day: 0 when all parts are 0, -1 when a part is out
// of range.
std::int32_t TimeSerial(std::int32_t hours, std::int32_t minutes, std::int32_t seconds,
                        std::int32_t hundredths);
// The parts of a time serial; invalid outside 1 .. 8,640,000.
TimeParts TimePartsOf(std::int32_t serial);

// The local time of day as a time serial, and today's local date serial.
std::int32_t CurrentTimeSerial();
std::int32_t CurrentDateSerial();

}  // namespace lumbra

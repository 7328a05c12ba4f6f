// Date and time values: the digit texts programs hold ("AAAAMMJJ" dates, "HHMMSSCC" times and
// their concatenation), the day number (1800-01-01 is day 1), the time integer (centiseconds
// since midnight), the calendar rules behind them and their validity checks.
//
// Invariants:
// - From 1583-01-01 on the day number is the proleptic Gregorian count; before that, years
//   follow the Julian leap rule and the old reform correction (see date_values.cpp), which is
//   not a continuous count. DateToDayNumber never overflows: results outside int32 fail.
// - Functions taking `ComponentProxy* errors` raise the date group's numbered errors on it;
//   a null proxy makes them silent. They never raise more than one error per call.
// - DateParts has exactly the layout of the device's SYSTEMTIME record; 0xFFFF in a field
//   means "missing".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace tq {

struct ComponentProxy;

// ---- Constants ---------------------------------------------------------------------------------
inline constexpr uint16_t kMissingField = 0xFFFF;
// Days from 0001-01-01 (day 1) to 1799-12-31: the shift that makes 1800-01-01 day 1.
inline constexpr int32_t kDayNumberShift = 657071;
inline constexpr int32_t kCentisecondsPerDay = 8640000;
inline constexpr int32_t kUnixEpochDayNumber = 62092;  // 1970-01-01

// Error ids of the date-and-time group.
namespace date_error {
inline constexpr uint32_t kTimeNegative = 80120;
inline constexpr uint32_t kTimeTooLarge = 81858;
inline constexpr uint32_t kDateLength = 80121;
inline constexpr uint32_t kDateNotDigits = 80122;
inline constexpr uint32_t kYearZero = 0x138FB;
inline constexpr uint32_t kReformGap = 0x138FC;
inline constexpr uint32_t kMonthRange = 0x138FD;
inline constexpr uint32_t kDayRange = 0x138FE;
inline constexpr uint32_t kNotLeapYear = 0x138FF;
inline constexpr uint32_t kTimeNotDigits = 80128;
inline constexpr uint32_t kSecondRange = 80129;
inline constexpr uint32_t kMinuteRange = 80130;
inline constexpr uint32_t kHourRange = 80131;
inline constexpr uint32_t kNotADayNumber = 80132;
inline constexpr uint32_t kDifferenceDate = 80134;
inline constexpr uint32_t kDifferenceTime = 80135;
inline constexpr uint32_t kDateTimeLength = 81842;  // message 7319
inline constexpr uint32_t kWeekMode = 0x13B3C;
}  // namespace date_error

// ---- Records -----------------------------------------------------------------------------------
struct DateParts {
  uint16_t year = 0;
  uint16_t month = 0;      // 1..12
  uint16_t dayOfWeek = 0;  // 0 = Sunday
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t millisecond = 0;
};
static_assert(sizeof(DateParts) == sizeof(ce::SYSTEMTIME));

ce::SYSTEMTIME SystemTimeFromParts(const DateParts& parts);
DateParts PartsFromSystemTime(const ce::SYSTEMTIME& time);

struct CivilDate {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
};

struct TimeOfDay {
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t centisecond = 0;
  int32_t millisecond = 0;  // 0..999; centisecond is millisecond / 10
};

// ---- Calendar ----------------------------------------------------------------------------------
// Julian rule before 1583, Gregorian from 1583 on.
bool IsLeapYear(int32_t year);
// 28..31; 0 for a month outside 1..12.
int MonthLength(int32_t month, int32_t year);

// False (nothing raised) when year < 0, the month is outside 1..12 or the day outside the month.
bool DateToDayNumber(int32_t day, int32_t month, int32_t year, int32_t& dayNumber);
bool DayNumberToDate(int32_t dayNumber, int32_t& day, int32_t& month, int32_t& year);

// 0 = Sunday .. 6 = Saturday (the library's index).
int DayOfWeekIndex(int32_t dayNumber);
// 1 = Monday .. 7 = Sunday (what the standard functions return).
int DayOfWeekNumber(int32_t dayNumber);

// ---- Validity ----------------------------------------------------------------------------------
// The reporting check: year 0, the 1582 reform gap, month, day, February 29. Negative years
// pass.
bool CheckDate(int32_t year, int32_t month, int32_t day, ComponentProxy* errors);
// The silent check of the difference functions: the same rules with years below 1 rejected.
bool IsValidDateSilently(int32_t year, int32_t month, int32_t day);

// ---- Texts -------------------------------------------------------------------------------------

// The two decimal digits of every number below 100, as UTF-16 pairs: fields of dates are
// written a pair at a time.
struct DigitPairs {
  char16_t pairs[100][2];
  constexpr DigitPairs() : pairs() {
    for (int i = 0; i < 100; ++i) {
      pairs[i][0] = static_cast<char16_t>(u'0' + i / 10);
      pairs[i][1] = static_cast<char16_t>(u'0' + i % 10);
    }
  }
};
inline constexpr DigitPairs kDigitPairs;

// Writes `value` (below 100) as two digits.
inline void WriteTwoDigits(char16_t* at, uint32_t value) {
  at[0] = kDigitPairs.pairs[value][0];
  at[1] = kDigitPairs.pairs[value][1];
}

// Characters read as decimal digits without a branch a character: Take gives a character's
// distance d from '0' and gathers d + 6 (d as 16 bits), which stays below 16 exactly when d
// is at most 9; allDigits tells at the end whether every character taken was a digit.
class DigitRun {
 public:
  uint32_t Take(char16_t c) {
    const uint16_t d = static_cast<uint16_t>(c - u'0');
    check_ |= uint32_t{d} + 6;
    return d;
  }
  bool allDigits() const { return check_ < 16; }

 private:
  uint32_t check_ = 0;
};
// Exactly 8 digits, or a date-time text of 12 or more characters (whose time must be valid too).
bool ParseDateText(std::u16string_view text, CivilDate& date, ComponentProxy* errors);
// 0..9 digits filled on the right with "0", or a date-time text of more than 9 characters.
bool ParseTimeText(std::u16string_view text, TimeOfDay& time, ComponentProxy* errors);
// 8..17 characters: a date text, then a time text (possibly empty).
bool ParseDateTimeText(std::u16string_view text, CivilDate& date, TimeOfDay& time,
                       ComponentProxy* errors);

// Silent readers of the difference functions and DateTimeValid: the first 8 characters must be
// digits forming a date that passes IsValidDateSilently.
bool ReadDateSilently(std::u16string_view text, CivilDate& date);
// At most the first 8 characters, all digits, filled on the right with "0" to 8; hours below
// 24, minutes and seconds at most 59. The value is in centiseconds.
bool ReadTimeSilently(std::u16string_view text, int32_t& centiseconds);

// "%04d%02d%02d" (a negative year prints its sign).
std::u16string FormatDateText(int32_t year, int32_t month, int32_t day);
// "%02d%02d%02d%02d" of hours, minutes, seconds and centiseconds.
std::u16string FormatTimeText(int32_t hour, int32_t minute, int32_t second, int32_t centisecond);
// The 17-digit date-time text: date, hours, minutes, seconds, milliseconds in 3 digits.
std::u16string FormatDateTimeText17(const CivilDate& date, int64_t millisecondOfDay);

// DayNumber of a date text (or its day of the year, 1 for January 1); -1 when invalid, with
// the parse error raised.
int32_t DateTextToDayNumber(std::u16string_view text, bool dayOfYear, ComponentProxy* errors);
// The date text of a day number, or one component: the selector's first letter "a", "A", "y",
// "Y" gives the year ("%04d"), "d", "D", "j", "J" the day, "m", "M" the month ("%02d"); any
// other (or none: u'\0') the whole date. Not a date: 80132 with the number, empty result.
std::u16string DayNumberToDateText(int32_t dayNumber, char16_t selector, ComponentProxy* errors);

// ---- Time integer ------------------------------------------------------------------------------
// Centiseconds 0..8640000 (inclusive) to "HHMMSSCC"; out of range: 80120 / 81858, empty text.
std::u16string TimeIntegerToText(int64_t centiseconds, ComponentProxy* errors);
// "HHMMSSCC" to centiseconds; -1 (with the parse error raised) when invalid.
int32_t TimeTextToInteger(std::u16string_view text, ComponentProxy* errors);

}  // namespace tq

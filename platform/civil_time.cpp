// Day counts by the era method: 400-year eras of 146097 days, years starting on March 1 so
// that the leap day falls at the end of the computed year.
#include "platform/civil_time.h"

namespace ce {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

bool IsLeapYear(int64_t year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int64_t year, int month) {
  static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year)) return 29;
  return kLengths[month - 1];
}

int64_t DaysFromCivil(int64_t year, int month, int day) {
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t era = FloorDiv(y, 400);
  const int64_t yearOfEra = y - era * 400;                           // 0..399
  const int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;  // 0..11
  const int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;  // 719468: days from 0000-03-01 to 1970-01-01
}

void CivilFromDays(int64_t days, int64_t* year, int* month, int* day) {
  const int64_t z = days + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t dayOfEra = z - era * 146097;  // 0..146096
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  *day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  *month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

int WeekdayFromDays(int64_t days) {
  // 1970-01-01 was a Thursday (4).
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

bool IsValidSystemTime(const SYSTEMTIME& t) {
  return t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
         t.wDay <= DaysInMonth(t.wYear, t.wMonth) && t.wHour <= 23 && t.wMinute <= 59 &&
         t.wSecond <= 59 && t.wMilliseconds <= 999;
}

int64_t SystemTimeToUnixMs(const SYSTEMTIME& t) {
  const int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay);
  return days * kMsPerDay + ((t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * kMsPerSecond +
         t.wMilliseconds;
}

std::optional<SYSTEMTIME> UnixMsToSystemTime(int64_t ms) {
  const int64_t days = FloorDiv(ms, kMsPerDay);
  int64_t msOfDay = ms - days * kMsPerDay;
  int64_t year;
  int month, day;
  CivilFromDays(days, &year, &month, &day);
  if (year < 1601 || year > 30827) return std::nullopt;
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wDayOfWeek = static_cast<WORD>(WeekdayFromDays(days));
  t.wMilliseconds = static_cast<WORD>(msOfDay % 1000);
  msOfDay /= 1000;
  t.wSecond = static_cast<WORD>(msOfDay % 60);
  msOfDay /= 60;
  t.wMinute = static_cast<WORD>(msOfDay % 60);
  t.wHour = static_cast<WORD>(msOfDay / 60);
  return t;
}

int64_t FileTimeToTicks(const FILETIME& time) {
  return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                              time.dwLowDateTime);
}

FILETIME TicksToFileTime(int64_t ticks) {
  const uint64_t value = static_cast<uint64_t>(ticks);
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

}  // namespace ce

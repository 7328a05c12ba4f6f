// Time-zone conversion through the device's zone record.
#include "datetime/rfc3339_time_zone.h"

#include <tuple>

#include "platform/device_clock.h"
#include "platform/last_error.h"

namespace tq {
namespace {

constexpr int64_t kUnitsPerMinute = 600000000;  // 100-nanosecond units

// A moment of the year, compared by month, day, hour, minute and second.
using YearMoment = std::tuple<int, int, int, int, int>;

YearMoment MomentOf(const ce::SYSTEMTIME& t) {
  return {t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int MonthLength(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
}

// 0 = Sunday, proleptic Gregorian.
int Weekday(int year, int month, int day) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int y = year - (month < 3 ? 1 : 0);
  return ((y + y / 4 - y / 100 + y / 400 + kOffsets[month - 1] + day) % 7 + 7) % 7;
}

// The moment of a transition rule in `year`: the n-th given weekday of its month (5 = the
// last), or the given day of the month when the weekday field is 7 or more.
YearMoment TransitionIn(const ce::SYSTEMTIME& rule, int year) {
  int day;
  if (rule.wDayOfWeek >= 7) {
    day = rule.wDay;
  } else {
    const int first = Weekday(year, rule.wMonth, 1);
    day = 1 + (rule.wDayOfWeek - first + 7) % 7 + (rule.wDay - 1) * 7;
    while (day > MonthLength(year, rule.wMonth)) day -= 7;
  }
  return {rule.wMonth, day, rule.wHour, rule.wMinute, rule.wSecond};
}

bool RulesUsable(const ce::TIME_ZONE_INFORMATION& zone) {
  return zone.StandardDate.wMonth >= 1 && zone.StandardDate.wMonth <= 12 &&
         zone.DaylightDate.wMonth <= 12 && zone.StandardDate.wDay >= 1 &&
         zone.StandardDate.wDay <= 5 && zone.DaylightDate.wDay >= 1 && zone.DaylightDate.wDay <= 5;
}

bool Shift(const ce::SYSTEMTIME& in, int64_t minutes, ce::SYSTEMTIME& out) {
  ce::FILETIME file;
  if (!ce::SystemTimeToFileTime(&in, &file)) return false;
  uint64_t units = (static_cast<uint64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  units += static_cast<uint64_t>(minutes * kUnitsPerMinute);
  file.dwLowDateTime = static_cast<ce::DWORD>(units);
  file.dwHighDateTime = static_cast<ce::DWORD>(units >> 32);
  return ce::FileTimeToSystemTime(&file, &out) != 0;
}

// The minutes to add to local time to reach UTC at this moment; false when the record's
// rules cannot be used or the moment cannot be converted.
bool OffsetMinutes(const ce::TIME_ZONE_INFORMATION& zone, const ce::SYSTEMTIME& moment,
                   bool momentIsUtc, int64_t& minutes) {
  if (zone.DaylightDate.wMonth == 0) {
    minutes = zone.Bias;
    return true;
  }
  if (!RulesUsable(zone)) {
    ce::SetLastError(ce::ERROR_INVALID_PARAMETER);
    return false;
  }
  const int year = moment.wYear;
  const YearMoment start = TransitionIn(zone.DaylightDate, year);
  const YearMoment end = TransitionIn(zone.StandardDate, year);
  YearMoment forStart = MomentOf(moment), forEnd = MomentOf(moment);
  const bool yearEdge =
      (moment.wMonth == 12 && moment.wDay == 31) || (moment.wMonth == 1 && moment.wDay == 1);
  if (momentIsUtc && !yearEdge) {
    ce::SYSTEMTIME shifted;
    if (!Shift(moment, -(zone.Bias + zone.StandardBias), shifted)) return false;
    forStart = MomentOf(shifted);
    if (!Shift(moment, -(zone.Bias + zone.DaylightBias), shifted)) return false;
    forEnd = MomentOf(shifted);
  }
  // Daylight time: from the daylight transition (inclusive) to the standard one.
  const bool afterStart = forStart >= start, beforeEnd = forEnd < end;
  const bool daylight = start < end ? (afterStart && beforeEnd) : (afterStart || beforeEnd);
  minutes = zone.Bias + (daylight ? zone.DaylightBias : zone.StandardBias);
  return true;
}

}  // namespace

bool LocalToUtcWith(const ce::TIME_ZONE_INFORMATION& zone, const ce::SYSTEMTIME& local,
                    ce::SYSTEMTIME& utc) {
  int64_t minutes = 0;
  return OffsetMinutes(zone, local, false, minutes) && Shift(local, minutes, utc);
}

bool UtcToLocalWith(const ce::TIME_ZONE_INFORMATION& zone, const ce::SYSTEMTIME& utc,
                    ce::SYSTEMTIME& local) {
  int64_t minutes = 0;
  return OffsetMinutes(zone, utc, true, minutes) && Shift(utc, -minutes, local);
}

bool LocalToUtc(const ce::SYSTEMTIME& local, ce::SYSTEMTIME& utc) {
  ce::TIME_ZONE_INFORMATION zone;
  if (ce::GetTimeZoneInformation(&zone) == ce::TIME_ZONE_ID_INVALID) return false;
  return LocalToUtcWith(zone, local, utc);
}

bool UtcToLocal(const ce::SYSTEMTIME& utc, ce::SYSTEMTIME& local) {
  ce::TIME_ZONE_INFORMATION zone;
  if (ce::GetTimeZoneInformation(&zone) == ce::TIME_ZONE_ID_INVALID) return false;
  return UtcToLocalWith(zone, utc, local);
}

}  // namespace tq

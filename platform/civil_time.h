// Calendar arithmetic for the clock calls: proleptic Gregorian dates, SYSTEMTIME records and
// their conversion to and from a count of milliseconds since 1970-01-01 00:00.
//
// Invariants: day counts are signed days since 1970-01-01; a SYSTEMTIME is valid when its year
// is 1601..30827 and every other field (but wDayOfWeek, which is ignored on input) lies in
// range; conversions to a SYSTEMTIME always fill wDayOfWeek (0 = Sunday).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/windows_types.h"

namespace ce {

inline constexpr int64_t kMsPerSecond = 1000;
inline constexpr int64_t kMsPerDay = 86400 * kMsPerSecond;
// FILETIME ticks (100 ns) from 1601-01-01 to 1970-01-01.
inline constexpr int64_t kFileTimeUnixEpoch = 116444736000000000;

bool IsLeapYear(int64_t year);
int DaysInMonth(int64_t year, int month);
int64_t DaysFromCivil(int64_t year, int month, int day);
void CivilFromDays(int64_t days, int64_t* year, int* month, int* day);
int WeekdayFromDays(int64_t days);  // 0 = Sunday

bool IsValidSystemTime(const SYSTEMTIME& time);
// Milliseconds since 1970-01-01 00:00 of the record's fields (time zone is the caller's).
int64_t SystemTimeToUnixMs(const SYSTEMTIME& time);
// Fails for instants outside the years 1601..30827.
std::optional<SYSTEMTIME> UnixMsToSystemTime(int64_t ms);

int64_t FileTimeToTicks(const FILETIME& time);
FILETIME TicksToFileTime(int64_t ticks);

}  // namespace ce

// Time-zone rules in the POSIX TZ form ("CET-1CEST,M3.5.0,M10.5.0/3"): parsing, conversion
// between UTC and local time, and the device's TIME_ZONE_INFORMATION record for a rule.
//
// Invariants: offsets follow the POSIX and device sign, UTC = local + offset (so Paris in
// winter is -3600 s). A rule with DST always has both transitions. Conversions apply the rule
// to every year, as the device does with its single zone record; history before the rule came
// into force is not modelled.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace ce {

struct TransitionRule {
  enum class Kind {
    kJulianNoLeap,  // "Jn": day 1..365, February 29 never counted
    kZeroBasedDay,  // "n": day 0..365, February 29 counted
    kMonthWeekDay,  // "Mm.w.d": weekday d (0 = Sunday) of week w (5 = last) of month m
  };
  Kind kind = Kind::kMonthWeekDay;
  int day = 0;      // kJulianNoLeap, kZeroBasedDay
  int month = 0;    // kMonthWeekDay
  int week = 0;     // kMonthWeekDay
  int weekday = 0;  // kMonthWeekDay
  // Local time of day of the change, as it reads before the change; may be negative or
  // beyond 24 hours (-167..167 h).
  int32_t timeSeconds = 7200;
};

struct ZoneRule {
  std::string standardName;
  std::string daylightName;    // empty when the zone has no DST
  int32_t standardOffset = 0;  // seconds; UTC = local + offset
  int32_t daylightOffset = 0;
  bool hasDaylight = false;
  TransitionRule daylightStart;  // change from standard to daylight time
  TransitionRule daylightEnd;    // change back to standard time
};

// Parses a POSIX TZ rule. A DST zone without transition rules gets "M3.2.0,M11.1.0" (the
// default of the C library's POSIX rules). Returns nullopt for anything malformed.
std::optional<ZoneRule> ParsePosixTzRule(std::string_view text);

// Whether daylight time is in force at the UTC instant (seconds since 1970).
bool IsDaylightAt(const ZoneRule& rule, int64_t utcSeconds);

// UTC seconds -> local seconds, both counted since 1970-01-01 00:00 of their own clock.
int64_t UtcToLocalSeconds(const ZoneRule& rule, int64_t utcSeconds);

// Local seconds -> UTC seconds. A local time that occurs twice (the hour repeated when DST
// ends) is read as the first, daylight, occurrence; a local time that is skipped when DST
// starts is read with the standard offset (so 02:30 on the spring-forward night in Paris
// becomes 01:30 UTC, which reads back as 03:30).
int64_t LocalToUtcSeconds(const ZoneRule& rule, int64_t localSeconds);

// The zone record the device returns for this rule: Bias, StandardBias 0, DaylightBias, names,
// and for a DST zone the two recurring transitions. A Jn or n transition is given as the day
// of the month it falls on in a common year with wDayOfWeek 7; a transition time outside
// 0..24 h is moved to the neighbouring day with the weekday shifted accordingly.
TIME_ZONE_INFORMATION ToTimeZoneInformation(const ZoneRule& rule);

}  // namespace ce

// POSIX TZ rules: a small recursive-descent reader and the yearly evaluation of the two
// transitions.
#include "platform/tz_rule.h"

#include <algorithm>
#include <cctype>

#include "platform/civil_time.h"

namespace ce {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

class RuleReader {
 public:
  explicit RuleReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ == text_.size(); }
  bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
  bool Take(char c) {
    if (!Peek(c)) return false;
    ++pos_;
    return true;
  }

  // A zone abbreviation: three or more letters, or "<...>" holding letters, digits and signs.
  bool Name(std::string* name) {
    size_t start = pos_;
    if (Take('<')) {
      start = pos_;
      while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
                                     text_[pos_] == '+' || text_[pos_] == '-')) {
        ++pos_;
      }
      const size_t end = pos_;
      if (!Take('>') || end - start < 3) return false;
      *name = std::string(text_.substr(start, end - start));
      return true;
    }
    while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ - start < 3) return false;
    *name = std::string(text_.substr(start, pos_ - start));
    return true;
  }

  // [+-]h[h[h]][:mm[:ss]] with the hours at most `maxHours`.
  bool SignedTime(int maxHours, int32_t* seconds) {
    int sign = 1;
    if (Take('-')) {
      sign = -1;
    } else {
      Take('+');
    }
    int hours, minutes = 0, secs = 0;
    if (!Number(1, 3, &hours) || hours > maxHours) return false;
    if (Take(':')) {
      if (!Number(1, 2, &minutes) || minutes > 59) return false;
      if (Take(':') && (!Number(1, 2, &secs) || secs > 59)) return false;
    }
    *seconds = sign * ((hours * 60 + minutes) * 60 + secs);
    return true;
  }

  bool Transition(TransitionRule* rule) {
    if (Take('J')) {
      rule->kind = TransitionRule::Kind::kJulianNoLeap;
      if (!Number(1, 3, &rule->day) || rule->day < 1 || rule->day > 365) return false;
    } else if (Take('M')) {
      rule->kind = TransitionRule::Kind::kMonthWeekDay;
      if (!Number(1, 2, &rule->month) || rule->month < 1 || rule->month > 12) return false;
      if (!Take('.') || !Number(1, 1, &rule->week) || rule->week < 1 || rule->week > 5) {
        return false;
      }
      if (!Take('.') || !Number(1, 1, &rule->weekday) || rule->weekday > 6) return false;
    } else {
      rule->kind = TransitionRule::Kind::kZeroBasedDay;
      if (!Number(1, 3, &rule->day) || rule->day > 365) return false;
    }
    rule->timeSeconds = 7200;
    if (Take('/')) return SignedTime(167, &rule->timeSeconds);
    return true;
  }

 private:
  bool Number(size_t minDigits, size_t maxDigits, int* value) {
    size_t start = pos_;
    int result = 0;
    while (pos_ < text_.size() && pos_ - start < maxDigits &&
           std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      result = result * 10 + (text_[pos_] - '0');
      ++pos_;
    }
    if (pos_ - start < minDigits) return false;
    *value = result;
    return true;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

// The local date (days since 1970) on which a transition falls in `year`.
int64_t TransitionDay(const TransitionRule& rule, int64_t year) {
  const int64_t january1 = DaysFromCivil(year, 1, 1);
  switch (rule.kind) {
    case TransitionRule::Kind::kJulianNoLeap:
      return january1 + rule.day - 1 + ((IsLeapYear(year) && rule.day >= 60) ? 1 : 0);
    case TransitionRule::Kind::kZeroBasedDay:
      return january1 + rule.day;
    case TransitionRule::Kind::kMonthWeekDay:
      break;
  }
  const int64_t first = DaysFromCivil(year, rule.month, 1);
  int64_t day = first + (rule.weekday - WeekdayFromDays(first) + 7) % 7 + (rule.week - 1) * 7;
  const int64_t end = first + DaysInMonth(year, rule.month);
  while (day >= end) day -= 7;  // week 5: the last such weekday of the month
  return day;
}

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

void CopyName(const std::string& name, WCHAR (&target)[32]) {
  size_t n = std::min<size_t>(name.size(), 31);
  for (size_t i = 0; i < n; ++i) target[i] = static_cast<unsigned char>(name[i]);
  target[n] = u'\0';
}

SYSTEMTIME ToRecurringDate(const TransitionRule& rule) {
  SYSTEMTIME date{};
  const int64_t dayShift = FloorDiv(rule.timeSeconds, kSecondsPerDay);
  const int64_t seconds = rule.timeSeconds - dayShift * kSecondsPerDay;
  date.wHour = static_cast<WORD>(seconds / 3600);
  date.wMinute = static_cast<WORD>(seconds / 60 % 60);
  date.wSecond = static_cast<WORD>(seconds % 60);
  if (rule.kind == TransitionRule::Kind::kMonthWeekDay) {
    date.wMonth = static_cast<WORD>(rule.month);
    date.wDay = static_cast<WORD>(rule.week);
    date.wDayOfWeek = static_cast<WORD>(((rule.weekday + dayShift) % 7 + 7) % 7);
    return date;
  }
  // A fixed day of the year: its month and day in a common year.
  int64_t dayOfYear = rule.kind == TransitionRule::Kind::kJulianNoLeap ? rule.day - 1 : rule.day;
  dayOfYear = std::clamp<int64_t>(dayOfYear + dayShift, 0, 364);
  int64_t year;
  int month, day;
  CivilFromDays(DaysFromCivil(2001, 1, 1) + dayOfYear, &year, &month, &day);
  date.wMonth = static_cast<WORD>(month);
  date.wDay = static_cast<WORD>(day);
  date.wDayOfWeek = 7;
  return date;
}

}  // namespace

std::optional<ZoneRule> ParsePosixTzRule(std::string_view text) {
  RuleReader reader(text);
  ZoneRule rule;
  if (!reader.Name(&rule.standardName) || !reader.SignedTime(24, &rule.standardOffset)) {
    return std::nullopt;
  }
  if (reader.AtEnd()) return rule;
  if (!reader.Name(&rule.daylightName)) return std::nullopt;
  rule.hasDaylight = true;
  rule.daylightOffset = rule.standardOffset - 3600;
  if (!reader.AtEnd() && !reader.Peek(',') && !reader.SignedTime(24, &rule.daylightOffset)) {
    return std::nullopt;
  }
  if (reader.AtEnd()) {
    rule.daylightStart = TransitionRule{TransitionRule::Kind::kMonthWeekDay, 0, 3, 2, 0, 7200};
    rule.daylightEnd = TransitionRule{TransitionRule::Kind::kMonthWeekDay, 0, 11, 1, 0, 7200};
    return rule;
  }
  if (!reader.Take(',') || !reader.Transition(&rule.daylightStart) || !reader.Take(',') ||
      !reader.Transition(&rule.daylightEnd) || !reader.AtEnd()) {
    return std::nullopt;
  }
  return rule;
}

bool IsDaylightAt(const ZoneRule& rule, int64_t utcSeconds) {
  if (!rule.hasDaylight) return false;
  int64_t year;
  int month, day;
  CivilFromDays(FloorDiv(utcSeconds - rule.standardOffset, kSecondsPerDay), &year, &month, &day);
  const int64_t start = TransitionDay(rule.daylightStart, year) * kSecondsPerDay +
                        rule.daylightStart.timeSeconds + rule.standardOffset;
  const int64_t end = TransitionDay(rule.daylightEnd, year) * kSecondsPerDay +
                      rule.daylightEnd.timeSeconds + rule.daylightOffset;
  if (start < end) return utcSeconds >= start && utcSeconds < end;
  // Southern hemisphere: daylight time spans the turn of the year.
  return !(utcSeconds >= end && utcSeconds < start);
}

int64_t UtcToLocalSeconds(const ZoneRule& rule, int64_t utcSeconds) {
  return utcSeconds - (IsDaylightAt(rule, utcSeconds) ? rule.daylightOffset : rule.standardOffset);
}

int64_t LocalToUtcSeconds(const ZoneRule& rule, int64_t localSeconds) {
  const int64_t asStandard = localSeconds + rule.standardOffset;
  if (!rule.hasDaylight) return asStandard;
  const int64_t asDaylight = localSeconds + rule.daylightOffset;
  if (IsDaylightAt(rule, asDaylight)) return asDaylight;
  return asStandard;  // standard time, or a local time skipped by the change to daylight time
}

TIME_ZONE_INFORMATION ToTimeZoneInformation(const ZoneRule& rule) {
  TIME_ZONE_INFORMATION info{};
  info.Bias = rule.standardOffset / 60;
  info.StandardBias = 0;
  CopyName(rule.standardName, info.StandardName);
  if (!rule.hasDaylight) return info;
  CopyName(rule.daylightName, info.DaylightName);
  info.DaylightBias = (rule.daylightOffset - rule.standardOffset) / 60;
  info.StandardDate = ToRecurringDate(rule.daylightEnd);
  info.DaylightDate = ToRecurringDate(rule.daylightStart);
  return info;
}

}  // namespace ce

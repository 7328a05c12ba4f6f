// Week numbers and the first day of a week.
#include "datetime/calendar_weeks.h"

#include "datetime/date_values.h"

namespace tq {
namespace {

std::optional<int32_t> January1(int32_t year) {
  int32_t number = 0;
  if (!DateToDayNumber(1, 1, year, number)) return std::nullopt;
  return number;
}

std::optional<int32_t> YearOf(int32_t dayNumber) {
  int32_t day = 0, month = 0, year = 0;
  if (!DayNumberToDate(dayNumber, day, month, year)) return std::nullopt;
  return year;
}

// Day number of the Monday of ISO week 1 of the year whose January 1 is `first`.
int64_t IsoWeekOneStart(int32_t first) {
  const int r = DayOfWeekIndex(first);  // 0 = Sunday
  if (r == 1) return first;
  if (r == 0) return static_cast<int64_t>(first) + 1;
  int64_t start = static_cast<int64_t>(first) - r + 8;
  if (r >= 2 && r <= 4) start -= 7;  // Tuesday to Thursday: week 1 began in December
  return start;
}

}  // namespace

std::optional<int32_t> SimpleWeekNumber(int32_t dayNumber) {
  const auto year = YearOf(dayNumber);
  if (!year) return std::nullopt;
  const auto first = January1(*year);
  if (!first) return std::nullopt;
  const int w = DayOfWeekNumber(*first);
  const int64_t offset = static_cast<int64_t>(dayNumber) - *first;
  if (w <= 4) return static_cast<int32_t>((offset + w - 1) / 7 + 1);
  if (offset < 8 - w) return 0;
  return static_cast<int32_t>((offset - (8 - w)) / 7 + 1);
}

std::optional<int32_t> IsoWeekNumber(int32_t dayNumber) {
  const auto year = YearOf(dayNumber);
  if (!year) return std::nullopt;
  const auto first = January1(*year);
  if (!first) return std::nullopt;
  const int64_t start = IsoWeekOneStart(*first);
  if (dayNumber < start) {
    // The last week of the previous year: that of its December 31.
    if (*year <= 1) return std::nullopt;
    return IsoWeekNumber(*first - 1);
  }
  const int32_t week = static_cast<int32_t>((dayNumber - start) / 7 + 1);
  if (week != 53) return week;
  int32_t nextFirst = 0;
  if (*year < INT32_MAX && DateToDayNumber(1, 1, *year + 1, nextFirst)) {
    const int r = DayOfWeekIndex(nextFirst);
    if (r >= 2 && r <= 4) return 1;
  }
  return 53;
}

std::optional<int32_t> FirstDayOfWeek(int32_t week, int32_t year, bool iso) {
  int64_t result = 0;
  if (iso) {
    int32_t january4 = 0;
    if (!DateToDayNumber(4, 1, year, january4)) return std::nullopt;
    const int t = DayOfWeekNumber(january4);
    result = 7 * static_cast<int64_t>(week) + january4 - t - 6;
  } else {
    const auto first = January1(year);
    if (!first) return std::nullopt;
    int64_t monday = *first;
    const int w = DayOfWeekNumber(*first);
    if (w != 1) monday = monday - w + 8;
    result = 7 * static_cast<int64_t>(week) + monday - 7;
  }
  if (result < INT32_MIN || result > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(result);
}

}  // namespace tq

// Spans between dates and times: day, centisecond and date-time differences, and age in whole
// years, months and days.
//
// Invariants: the difference functions read their arguments with the silent date and time
// checks (years from 1, no 1582 reform gap, times "HHMMSSCC" of at most 8 digits) and raise
// 80134 (dates, date-times) or 80135 (times) on `errors` when one fails; age raises nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

struct ComponentProxy;

// DayNumber(b) - DayNumber(a); -1 after an error.
int32_t DateDifference(std::u16string_view a, std::u16string_view b, ComponentProxy* errors);
// Centiseconds of b minus those of a; -1 after an error.
int32_t TimeDifference(std::u16string_view a, std::u16string_view b, ComponentProxy* errors);
// b - a as a sign, 7 digits of days and 2 each of hours, minutes, seconds and centiseconds
// ("+000000100000001"); empty after an error.
std::u16string DateTimeDifference(std::u16string_view a, std::u16string_view b,
                                  ComponentProxy* errors);

// Whole years, months and days from `date` to `reference` as "%04d%02d%02d"; empty when either
// is not a valid date text or the date is after the reference.
std::u16string DateAge(std::u16string_view date, std::u16string_view reference);

}  // namespace tq

// Week numbers and the first day of a week: the simple Monday-based count (the days before the
// year's first Monday are week 0 when January 1 falls on Friday to Sunday; no week 53
// adjustment) and ISO 8601 weeks (week 1 holds the year's first Thursday; the days of a week
// that straddles the new year belong to the year that holds its Thursday).
//
// Invariants: every function works on day numbers and never raises; a day number that is not a
// date, or a year whose January 1 is not a date, gives nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tq {

inline constexpr std::u16string_view kIsoWeekMode = u"<ISO8601>";

std::optional<int32_t> SimpleWeekNumber(int32_t dayNumber);
std::optional<int32_t> IsoWeekNumber(int32_t dayNumber);

// Day number of the Monday that starts week `week` of `year`.
std::optional<int32_t> FirstDayOfWeek(int32_t week, int32_t year, bool iso);

}  // namespace tq

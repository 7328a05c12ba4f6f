// Day and month names: where they come from (the project's lists, the device's locale when
// the project uses the system language, else the library's messages) and how a mask token
// styles them (abbreviated, first letter upper or lower case, all upper case).
//
// Invariants: a source that yields nothing (no settings, an empty or missing list element, a
// failed locale call, a missing message) falls through to the next one; the last yields an
// empty name. Names are looked up anew on every call; nothing is cached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tq {

struct CallContext;
class DateMask;
class RegionalSettings;

// Day of week 0 = Sunday .. 6 = Saturday; an index of 7 or more gives an empty name.
std::u16string DayName(const RegionalSettings& settings, int dayOfWeek);

// Month 1..12; any other month gives an empty name. `abbreviated` asks the device's locale
// for its abbreviation (used only with the system language); `abbreviatedByLocale` tells
// whether the name that came back is already abbreviated.
std::u16string MonthName(const RegionalSettings& settings, int month, bool abbreviated,
                         bool* abbreviatedByLocale = nullptr);

// The styled names (style bits kStyle... of date_mask_tokens.h; 0 = as stored). The name is
// first limited to `capacity` - 1 characters, as a buffer of `capacity` characters holds it.
std::u16string FormatDayName(const DateMask& mask, int dayOfWeek, uint32_t style, size_t capacity);
std::u16string FormatMonthName(const DateMask& mask, int month, uint32_t style, size_t capacity);

// Capacities of the name functions (day and month names as standard-function results).
inline constexpr size_t kDayNameFunctionCapacity = 51;
inline constexpr size_t kMonthNameFunctionCapacity = 250;
// Capacity of names written by the formatting engine.
inline constexpr size_t kEngineNameCapacity = 31;

// The name functions' lookups: the call's settings attached to a mask object with an empty
// mask, names as stored (no style), within the functions' capacities.
std::u16string DayNameForCall(CallContext* context, int dayOfWeek);
std::u16string MonthNameForCall(CallContext* context, int month);

}  // namespace tq

// Conversions of dates to other counts: the date of Easter Sunday, spreadsheet serial day
// numbers (1900 and 1904 systems) and Unix time.
//
// Invariants: none of these raise errors; a value that cannot be converted gives an empty text,
// -1 or -1.0. The 1900 system keeps the spreadsheet's phantom 1900-02-29 as serial 60, so
// serials from 61 on are one more than the day count. Unix time is read and written in the
// device's local time, converted with its time-zone record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

// "%04d%02d%02d" of Easter Sunday (Gregorian computus) for years 1583..9999, else empty.
std::u16string EasterDate(int64_t year);

double DateToSerial(std::u16string_view dateTime, bool system1904);
// The 17-digit date-time text (date, HHMMSS, milliseconds) of a serial; empty when below 1
// (1900 system) or 0 (1904 system), or not a date.
std::u16string SerialToDate(double serial, bool system1904);

// Flag of the Unix-time functions: the count is in milliseconds rather than seconds.
inline constexpr int32_t kUnixTimeMilliseconds = 0x2;

// Local date-time text to seconds (or milliseconds) since 1970-01-01 00:00:00 UTC; -1 when the
// text is not a date-time, the zone conversion fails or the count is negative.
int64_t DateTimeToUnixTime(std::u16string_view dateTime, int32_t flags);
// The inverse, as a 17-digit local date-time text; empty for a negative count or when the
// moment cannot be converted.
std::u16string UnixTimeToDateTime(int64_t count, int32_t flags);

}  // namespace tq

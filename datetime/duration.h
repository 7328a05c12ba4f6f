// Durations: signed 64-bit counts of milliseconds, their components, and the two plain digit
// forms ("%d%02d%02d%02d%03d" of days, hours, minutes, seconds and milliseconds, or with
// centiseconds in place of milliseconds), with a leading "-" when negative.
//
// Invariants: components come from the absolute value (INT64_MIN included); a text too short
// for its form reads as 0; no error is ever raised.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

struct DurationParts {
  uint64_t days = 0;
  uint32_t hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
  bool negative = false;
};

DurationParts SplitDuration(int64_t duration);

// Form 1: centiseconds; any other form: milliseconds.
inline constexpr int kCentisecondForm = 1;

int64_t ParseDurationText(std::u16string_view text, bool centiseconds);
std::u16string FormatDurationText(int64_t duration, bool centiseconds);

// The day, hour, minute, second and millisecond letters of the letter masks (library messages
// 0x6FA1..0x6FA5, each falling back to J, H, M, S, L).
struct DurationLetters {
  char16_t day, hour, minute, second, millisecond;
};
DurationLetters CurrentDurationLetters();

std::u16string FormatLetterMask(int64_t duration, std::u16string_view mask,
                                const DurationLetters& letters);
int64_t ParseLetterMask(std::u16string_view text, std::u16string_view mask,
                        const DurationLetters& letters);

// Decimal digits of an unsigned number, as UTF-16.
std::u16string DecimalText(uint64_t value, int minimumDigits = 1);

}  // namespace tq

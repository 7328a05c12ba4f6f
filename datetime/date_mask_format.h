// The formatting engine of date and time display masks: a value text is read with the mask
// object's input format into DateParts, then the display mask is written token by token.
//
// Invariants: a missing field (65535) never fails: numbers print as underscores of their
// width, names print nothing (day names) or "__" (month names). Hours switch to the 12-hour
// clock when the mask being written holds an AM/PM marker.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date_values.h"

namespace tq {

class DateMask;

// The most characters WriteDateField writes.
inline constexpr int kMaxFieldCharacters = 5;

// Writes `value` in decimal with at least `width` digits ("%0*u"), or `width` underscores (one
// when the width is 0) when the field is missing (65535). Returns the end of what it wrote.
[[gnu::always_inline]] inline char16_t* WriteDateField(char16_t* at, uint16_t value, int width) {
  if (value == 0xFFFF) {
    const int n = width == 0 ? 1 : width;
    for (int i = 0; i < n; ++i) *at++ = u'_';
    return at;
  }
  if (width == 2 && value < 100) {  // the common fields
    WriteTwoDigits(at, value);
    return at + 2;
  }
  if (width == 4 && value < 10000) {  // years
    WriteTwoDigits(at, value / 100u);
    WriteTwoDigits(at + 2, value % 100u);
    return at + 4;
  }
  int digits = value >= 10000 ? 5 : value >= 1000 ? 4 : value >= 100 ? 3 : value >= 10 ? 2 : 1;
  if (digits < width) digits = width;
  for (int i = digits - 1; i >= 0; --i) {
    at[i] = static_cast<char16_t>(u'0' + value % 10);
    value = static_cast<uint16_t>(value / 10);
  }
  return at + digits;
}

// Formats `value` (read with the object's input format, or with the display mask when the
// input format is empty). Flags: 0, or kFormatLenientLetters. False when the value cannot be
// read; `out` is then empty.
bool FormatDate(const DateMask& mask, std::u16string_view value, std::u16string& out,
                uint32_t flags);

// Writes the object's display mask (after the lenient-letter rewrite with that flag) with
// `parts`, whose day of the week is computed here when the mask shows it.
void FormatWithDisplayMask(const DateMask& mask, DateParts parts, std::u16string& out,
                           uint32_t flags);

// Writes `mask` (tokenized in the object's range) with `parts`.
std::u16string FormatDateParts(const DateMask& object, std::u16string_view mask,
                               const DateParts& parts, uint32_t flags);

// The lenient-letter rewrite of a caller's mask (jj/mm/aaaa, dd/mm/yyyy): "mm" stays minutes
// when the object's input format holds a time.
class RewrittenText;
void RewriteLenientLetters(const DateMask& object, RewrittenText& mask);

}  // namespace tq

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

// Formats `value` (read with the object's input format, or with the display mask when the
// input format is empty). Flags: 0, or kFormatLenientLetters. False when the value cannot be
// read; `out` is then empty.
bool FormatDate(const DateMask& mask, std::u16string_view value, std::u16string& out,
                uint32_t flags);

// Writes `mask` (tokenized in the object's range) with `parts`.
std::u16string FormatDateParts(const DateMask& object, std::u16string_view mask,
                               const DateParts& parts, uint32_t flags);

// The lenient-letter rewrite of a caller's mask (jj/mm/aaaa, dd/mm/yyyy): "mm" stays minutes
// when the object's input format holds a time.
class RewrittenText;
void RewriteLenientLetters(const DateMask& object, RewrittenText& mask);

}  // namespace tq

// The parsing engine of date and time masks: a displayed date or time is read back through
// the same masks that format it, into DateParts, and written in the text form of the mask
// object's input format ("AAAAMMJJ", "HHMMSSCC", a 17-digit date-time).
//
// Invariants: the engine raises no errors; a text that does not fit its mask gives false (or
// an empty text). Every field starts missing (65535). Bounds: it reads only within the input
// and never loops without advancing in the mask.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date_values.h"

namespace tq {

class DateMask;
struct CompiledMask;

// Parse flags.
inline constexpr uint32_t kParsePivotYears = 4;  // two-digit years above 50 are 19xx
inline constexpr uint32_t kParseStrict = 16;     // names ignore case; mask letters must match

// Reads `input` through `mask` (tokenized in the object's range) into `parts`.
bool ParseDateParts(const DateMask& object, std::u16string_view input, std::u16string_view mask,
                    DateParts& parts, uint32_t flags);
// The same with the mask already compiled (in the object's range).
bool ParseDateParts(const DateMask& object, std::u16string_view input,
                    const CompiledMask& mask, DateParts& parts, uint32_t flags);

// Reads `input` through the object's display mask and writes the result in its input format:
// a date or date-time of at most 32 characters, or a time of at most 9. Empty when the text
// cannot be read or lacks the fields the result needs.
std::u16string ParseToText(const DateMask& object, std::u16string_view input, uint32_t flags);
// The same with the display mask already compiled (in the object's range), written into
// `text` (whose storage a caller may reuse).
void ParseToText(const DateMask& object, std::u16string_view input, const CompiledMask& display,
                 uint32_t flags, std::u16string& text);

// StringToDate's reading of a date through a mask of fixed fields (CompiledMask::fixedLayout),
// which needs no mask object: the result in "AAAAMMJJ", or in "AAAAMMJJHHmmSSCCC" when
// `withTime` (the mask is then read in the date-time range), as ParseToText writes it for an
// object of that input format in date mode. False, with `text` untouched, when the mask is
// not of fixed fields or the input needs the token walk; the caller then calls ParseToText.
bool ParseFixedLayoutToText(std::u16string_view input, const CompiledMask& mask, bool withTime,
                            uint32_t flags, std::u16string& text);

}  // namespace tq

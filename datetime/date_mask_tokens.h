// The letter groups of date and time display masks: the token table (French and English
// letters side by side), the token codes the formatting and parsing engines act on, the
// tokenizer, and the few questions asked about a whole mask (12-hour mode, date-time input
// formats).
//
// Invariants: the table is searched in its order and the first entry whose text is a prefix
// of the mask wins (so "MMMM" is tried before "MM"); a date mask searches entries 0..34, a
// time mask 35..44, a mask whose input format holds a date and a time all of them. A
// backslash is a literal of its own; the character after it is tokenized normally.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace tq {

// Token codes (the engines switch on these).
namespace token {
inline constexpr int kEnd = 0;
inline constexpr int kLiteral = 1;
inline constexpr int kDay = 2;           // J, D: day of month, 1 or 2 digits
inline constexpr int kDay2 = 3;          // JJ, DD
inline constexpr int kDayInitial = 4;    // L
inline constexpr int kDayNameFirst = 5;  // 5..8 abbreviated day names, 9..12 full day names
inline constexpr int kDayNameLast = 12;
inline constexpr int kMonth = 13;           // M
inline constexpr int kMonth2 = 14;          // MM
inline constexpr int kMonthNameFirst = 15;  // 15..18 abbreviated, 19..22 full month names
inline constexpr int kMonthNameLast = 22;
inline constexpr int kYear2 = 23;         // AA, YY
inline constexpr int kYear4 = 24;         // AAAA, YYYY
inline constexpr int kHour2 = 25;         // HH
inline constexpr int kHour = 26;          // H
inline constexpr int kMinute2 = 27;       // MM (time), mm
inline constexpr int kSecond2 = 28;       // SS
inline constexpr int kCentisecond2 = 29;  // CC
inline constexpr int kMillisecond3 = 30;  // CCC
inline constexpr int kAmPm = 31;          // AM, AP, PM
}  // namespace token

// Which part of the table a mask object searches.
enum class TokenRange { kDate, kTime, kDateTime };

struct MaskToken {
  int code = token::kEnd;
  int widthClass = 0;  // 4 years, 2 two-digit fields, 3 milliseconds, 1 "L", 0 day names
  size_t length = 0;   // characters of the mask the token covers
};

// The token at `position` of `mask`; advances `position` past it. At the end of the mask the
// code is kEnd and the position does not move.
MaskToken NextMaskToken(std::u16string_view mask, size_t& position, TokenRange range);

// Exactly the six input formats that describe a date followed by a time.
bool IsDateTimeFormat(std::u16string_view format);

// Name styles, as the name tokens encode them.
inline constexpr uint32_t kStyleAbbreviated = 1;
inline constexpr uint32_t kStyleFirstUpper = 2;
inline constexpr uint32_t kStyleFirstLower = 4;
inline constexpr uint32_t kStyleAllUpper = 8;
// The style of a day-name (5..12) or month-name (15..22) code; 0 for any other code.
uint32_t NameStyleOfCode(int code);

// Whether the mask switches hours to the 12-hour clock: it contains "AM" not followed by "M"
// (the "AM" of "AAAAMM" does not count), or "AP", or "PM".
bool HasAmPmMarker(std::u16string_view mask);

// Whether tokenizing `mask` in `range` yields a token whose code is in `codes`.
bool MaskHasTokenCode(std::u16string_view mask, TokenRange range, std::initializer_list<int> codes);

}  // namespace tq

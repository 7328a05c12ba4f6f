// The parsing engine: displayed dates and times read back through their masks.
#include "datetime/date_parse.h"

#include <algorithm>
#include <cstring>

#include "datetime/date_mask.h"
#include "datetime/date_mask_compiled.h"
#include "datetime/date_mask_format.h"
#include "datetime/name_lookup.h"
#include "platform/device_clock.h"
#include "platform/strings.h"

namespace tq {
namespace {

constexpr uint16_t kMissing = 0xFFFF;

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool IsLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The field read as a decimal number the way the runtime library reads one: leading blanks,
// an optional sign, then digits up to the first other character.
[[gnu::always_inline]] inline int32_t DecimalValue(std::u16string_view field) {
  if (field.size() == 2 && IsDigit(field[0]) && IsDigit(field[1]))  // the most common field
    return (field[0] - u'0') * 10 + (field[1] - u'0');
  if (field.size() <= 4) {  // the common case: a field of digits only
    int32_t value = 0;
    bool digits = !field.empty();
    for (char16_t c : field) {
      digits = digits && IsDigit(c);
      value = value * 10 + (c - u'0');
    }
    if (digits) return value;
  }
  size_t i = 0;
  while (i < field.size() && (field[i] == u' ' || field[i] == u'\t')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == u'-' || field[i] == u'+')) negative = field[i++] == u'-';
  int64_t value = 0;
  for (; i < field.size() && IsDigit(field[i]); ++i) {
    value = value * 10 + (field[i] - u'0');
    if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::u16string Upper(std::u16string_view text) {
  std::u16string s(text);
  if (!s.empty()) ce::CharUpperBuffW(s.data(), static_cast<ce::DWORD>(s.size()));
  return s;
}

bool SameText(std::u16string_view a, std::u16string_view b, bool ignoreCase) {
  if (!ignoreCase) return a == b;
  return a.size() == b.size() && Upper(a) == Upper(b);
}

// Width of a name field: up to the mask character that follows the token (the end of the
// input when the token ends the mask), else up to the next digit, else the width class.
size_t NameWidth(std::u16string_view input, size_t at, std::u16string_view mask, size_t after,
                 int widthClass) {
  if (after >= mask.size()) return input.size() - at;
  const size_t found = input.find(mask[after], at);
  if (found != std::u16string_view::npos) return found - at;
  for (size_t i = at; i < input.size(); ++i)
    if (IsDigit(input[i])) return i - at;
  return static_cast<size_t>(widthClass);
}

// The month whose styled name equals the field, 0 when none does.
int MatchMonth(const DateMask& object, std::u16string_view field, uint32_t style, bool ignoreCase) {
  for (int month = 1; month <= 12; ++month) {
    if (SameText(field, FormatMonthName(object, month, style, kEngineNameCapacity), ignoreCase))
      return month;
  }
  return 0;
}

int ReadMonthName(const DateMask& object, std::u16string_view field, int code, uint32_t flags) {
  const uint32_t style = NameStyleOfCode(code);
  const bool ignoreCase = (flags & kParseStrict) != 0;
  int month = MatchMonth(object, field, style, ignoreCase);
  if (month == 0 && (style & kStyleAbbreviated)) {
    month = MatchMonth(object, field, style & ~kStyleAbbreviated, ignoreCase);
    if (month == 0) month = MatchMonth(object, field, style, true);
  }
  return month;
}

// Completes the parts once the whole mask was read (in `range`).
void CompleteParts(TokenRange range, DateParts& parts) {
  if (parts.day == 0 && parts.month == 0 && parts.year == 0 && range == TokenRange::kDateTime) {
    parts.day = parts.month = parts.year = kMissing;
  }
  if (parts.day == 0) parts.day = kMissing;
  if (parts.month == 0) parts.month = kMissing;
  if (parts.day != kMissing && (parts.month == kMissing || parts.year == kMissing)) {
    ce::SYSTEMTIME now;
    ce::GetSystemTime(&now);
    if (parts.month == kMissing && parts.year == kMissing) {
      parts.month = now.wMonth;
      parts.year = now.wYear;
    } else if (parts.month != kMissing && parts.year == kMissing) {
      parts.year = now.wYear;
    }
  }
  if (parts.hour != kMissing && parts.minute == kMissing) parts.minute = 0;
  if (parts.minute != kMissing && parts.second == kMissing) parts.second = 0;
  if (parts.minute != kMissing && parts.second != kMissing && parts.millisecond == kMissing)
    parts.millisecond = 0;
}

// The input layouts of StringToDate, written field by field as the formatting engine would
// write them (at least the field's width in digits, a missing field as underscores).
constexpr std::u16string_view kDateLayout = u"AAAAMMJJ";
constexpr std::u16string_view kDateTimeLayout = u"AAAAMMJJHHmmSSCCC";

bool IsLayout(std::u16string_view format, std::u16string_view layout) {
  return format.size() == layout.size() &&
         std::memcmp(format.data(), layout.data(), layout.size() * sizeof(char16_t)) == 0;
}

void WriteDateLayout(const DateParts& parts, bool withTime, std::u16string& out) {
  const bool common = parts.year < 10000 && parts.month < 100 && parts.day < 100 &&
                      (!withTime || (parts.hour < 100 && parts.minute < 100 &&
                                     parts.second < 100 && parts.millisecond < 1000));
  if (common) {  // every field present and no wider than its width: written digit by digit
    out.resize(withTime ? kDateTimeLayout.size() : kDateLayout.size());
    char16_t* at = out.data();
    WriteTwoDigits(at, parts.year / 100u);
    WriteTwoDigits(at + 2, parts.year % 100u);
    WriteTwoDigits(at + 4, parts.month);
    WriteTwoDigits(at + 6, parts.day);
    if (withTime) {
      WriteTwoDigits(at + 8, parts.hour);
      WriteTwoDigits(at + 10, parts.minute);
      WriteTwoDigits(at + 12, parts.second);
      at[14] = static_cast<char16_t>(u'0' + parts.millisecond / 100);
      WriteTwoDigits(at + 15, parts.millisecond % 100u);
    }
    return;
  }
  char16_t text[7 * kMaxFieldCharacters];
  char16_t* at = WriteDateField(text, parts.year, 4);
  at = WriteDateField(at, parts.month, 2);
  at = WriteDateField(at, parts.day, 2);
  if (withTime) {
    at = WriteDateField(at, parts.hour, 2);
    at = WriteDateField(at, parts.minute, 2);
    at = WriteDateField(at, parts.second, 2);
    at = WriteDateField(at, parts.millisecond, 3);
  }
  out.assign(text, static_cast<size_t>(at - text));
}

// The date text of parts read in date mode for one of the two layouts: empty when the year,
// the month or the day is missing (a mask without a day token reads day 1).
void DateTextOfParts(DateParts parts, const CompiledMask& display, bool withTime,
                     std::u16string& text) {
  if (parts.day == kMissing && !display.dayToken) parts.day = 1;
  if (parts.year == kMissing || parts.month == kMissing || parts.day == kMissing) {
    text.clear();
    return;
  }
  WriteDateLayout(parts, withTime, text);  // replaces the whole text (a reused one keeps its size)
}

uint16_t Stored(int32_t value) {
  return static_cast<uint16_t>(value);
}

// Reads an input laid out as a fixed-layout mask says, when every field holds digits only and
// every letter of the mask is repeated (strict parse). Then it gives exactly what the token
// walk below gives: each field's digits are its value, nothing else of the walk applies.
// False when the input needs the walk (a missing field, a sign, a short input, ...).
bool ReadFixedLayout(const CompiledMask& compiled, std::u16string_view input, DateParts& parts,
                     uint32_t flags) {
  if (!compiled.fixedLayout || input.size() < compiled.fixedLength) return false;
  if (flags & kParseStrict) {
    for (const FixedLetter& l : compiled.fixedLetters)
      if (input[l.offset] != l.letter) return false;
  }
  DigitRun run;  // every character is read; whether all were digits is asked at the end
  auto digit = [&input, &run](size_t i) { return run.Take(input[i]); };
  for (const FixedField& f : compiled.fixedFields) {
    const size_t o = f.offset;
    uint32_t value = digit(o) * 10 + digit(o + 1);
    if (f.width >= 3) value = value * 10 + digit(o + 2);
    if (f.width == 4) value = value * 10 + digit(o + 3);
    parts.*f.part = Stored(static_cast<int32_t>(value * f.scale));
  }
  return run.allDigits();
}

}  // namespace

bool ParseDateParts(const DateMask& object, std::u16string_view input, std::u16string_view mask,
                    DateParts& parts, uint32_t flags) {
  return ParseDateParts(object, input, CompileMask(mask, object.tokenRange()), parts, flags);
}

bool ParseDateParts(const DateMask& object, std::u16string_view input, const CompiledMask& compiled,
                    DateParts& parts, uint32_t flags) {
  parts = DateParts{kMissing, kMissing, kMissing, kMissing, kMissing, kMissing, kMissing, kMissing};
  if (ReadFixedLayout(compiled, input, parts, flags)) {
    CompleteParts(object.tokenRange(), parts);
    return true;
  }
  parts = DateParts{kMissing, kMissing, kMissing, kMissing, kMissing, kMissing, kMissing, kMissing};
  const std::u16string_view mask = compiled.text;
  const bool hasAmPm = compiled.twelveHour;
  size_t at = 0;  // read position in the input
  // The input ends before a token's field: what was read stands when it holds a day or an hour.
  auto inputEnds = [&parts] {
    if (parts.second == kMissing && parts.hour != kMissing && parts.minute != kMissing)
      parts.second = 0;
    return parts.day != kMissing || parts.hour != kMissing;
  };
  for (const CompiledToken& t : compiled.tokens) {
    const size_t start = t.start, position = t.end;
    if (t.code == token::kLiteral) {  // most tokens: one character, matched only when strict
      if (at >= input.size()) return inputEnds();
      if ((flags & kParseStrict) && IsLetter(mask[start]) && input[at] != mask[start]) return false;
      ++at;
      continue;
    }
    size_t width = static_cast<size_t>(t.widthClass);
    if (t.name) width = NameWidth(input, at, mask, position, t.widthClass);
    if (input.size() - at < width) return inputEnds();
    std::u16string_view field(input.data() + at, width);  // within the input: checked above
    char16_t year[4];
    if (t.code == token::kYear4 && field.size() == 4 && field[2] != u'_' && field[3] == u'_') {
      std::copy(field.begin(), field.end(), year);
      year[3] = u'0';  // a year typed up to its last digit: "202_" is 2020
      field = std::u16string_view(year, 4);
    }
    const bool missing = !field.empty() && field[0] == u'_';
    // Only number fields have a value; names and markers are read as text below.
    int32_t value = missing || !t.numeric ? kMissing : DecimalValue(field);
    if (t.numeric && !missing && value == 0 && !field.empty() && field[0] != u'0') {
      if (!(hasAmPm &&
            (SameText(field, object.AmText(), true) || SameText(field, object.PmText(), true))))
        return false;
      at += width;  // an AM or PM text where a number stands: accepted and ignored
      continue;
    }
    if ((t.code == token::kDay || t.code == token::kMonth || t.code == token::kHour) &&
        field.size() >= 2 && !IsDigit(field[1]))
      width = 1;
    switch (t.code) {
      case token::kDay:
        if (!(compiled.storedMonthName && compiled.At(position) == u' ') && !missing) {
          if (value < 10 && field[0] != u'0') {
            width = 1;
          } else if (IsLetter(compiled.At(position)) && input.size() == mask.size()) {
            value = DecimalValue(field.substr(0, 1));
            width = 1;
          }
        }
        parts.day = Stored(value);
        break;
      case token::kDay2:
        parts.day = Stored(value);
        break;
      case token::kMonth:
        if (!missing && value < 10 && field[0] != u'0') width = 1;
        parts.month = Stored(value);
        break;
      case token::kMonth2:
        parts.month = Stored(value);
        break;
      case token::kYear2:
        if (!missing) {
          value += (flags & kParsePivotYears) && value > 50 ? 1900 : 2000;
          if ((flags & kParseStrict) && position >= mask.size() && at + width < input.size())
            return false;
        }
        parts.year = Stored(value);
        break;
      case token::kYear4:
        parts.year = Stored(value);
        break;
      case token::kHour2:
      case token::kHour:
        if (hasAmPm && parts.hour != kMissing && !missing) value += parts.hour;
        parts.hour = Stored(value);
        break;
      case token::kMinute2:
        parts.minute = Stored(value);
        break;
      case token::kSecond2:
        parts.second = Stored(value);
        break;
      case token::kCentisecond2:
        parts.millisecond = missing ? kMissing : Stored(value * 10);
        break;
      case token::kMillisecond3:
        parts.millisecond = Stored(value);
        break;
      case token::kAmPm:
        if (SameText(field, object.PmText(), true)) {
          parts.hour = parts.hour == 12 || parts.hour == kMissing ? 12 : Stored(parts.hour + 12);
        } else if (SameText(field, object.AmText(), true) && parts.hour == 12) {
          parts.hour = 0;
        }
        break;
      default:
        if (t.code >= token::kMonthNameFirst && t.code <= token::kMonthNameLast) {
          const int month = ReadMonthName(object, field, t.code, flags);
          if (month != 0) parts.month = Stored(month);
        }
        break;  // day names and "L" are skipped
    }
    at += width;
  }
  CompleteParts(object.tokenRange(), parts);
  return true;
}

std::u16string ParseToText(const DateMask& object, std::u16string_view input, uint32_t flags) {
  std::u16string text;
  ParseToText(object, input, CompileMask(object.DisplayMask(), object.tokenRange()), flags, text);
  return text;
}

void ParseToText(const DateMask& object, std::u16string_view input, const CompiledMask& display,
                 uint32_t flags, std::u16string& text) {
  text.clear();
  DateParts parts;
  if (!ParseDateParts(object, input, display, parts, flags)) return;
  if (object.tokenRange() == TokenRange::kDateTime || object.dateMode()) {
    const std::u16string_view layout = object.inputFormat();
    if (IsLayout(layout, kDateLayout) || IsLayout(layout, kDateTimeLayout)) {
      DateTextOfParts(parts, display, layout.size() == kDateTimeLayout.size(), text);
      return;
    }
    if (parts.day == kMissing && !display.dayToken) parts.day = 1;
    if (parts.year == kMissing || parts.month == kMissing || parts.day == kMissing) return;
    text = FormatDateParts(object, layout, parts, 0);
    if (text.size() > 32) text.resize(32);
  } else {
    if (parts.hour == kMissing || parts.minute == kMissing) return;
    if (parts.second == kMissing) parts.second = 0;
    if (parts.millisecond == kMissing) parts.millisecond = 0;
    text = FormatDateParts(object, object.inputFormat(), parts, 0);
    if (text.size() > 9) text.resize(9);
  }
}

bool ParseFixedLayoutToText(std::u16string_view input, const CompiledMask& mask, bool withTime,
                            uint32_t flags, std::u16string& text) {
  DateParts parts{kMissing, kMissing, kMissing, kMissing, kMissing, kMissing, kMissing, kMissing};
  if (!ReadFixedLayout(mask, input, parts, flags)) return false;
  CompleteParts(withTime ? TokenRange::kDateTime : TokenRange::kDate, parts);
  DateTextOfParts(parts, mask, withTime, text);
  return true;
}

}  // namespace tq

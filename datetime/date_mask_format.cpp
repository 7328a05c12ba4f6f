// The formatting engine: DateParts written through a display mask.
#include "datetime/date_mask_format.h"

#include <algorithm>

#include "datetime/date_mask.h"
#include "datetime/date_mask_compiled.h"
#include "datetime/date_parse.h"
#include "datetime/name_lookup.h"
#include "datetime/system_masks.h"

namespace tq {
namespace {

constexpr uint16_t kMissing = 0xFFFF;

// The field writers run once a token on every formatting call: kept inline in its loops.
#define TQ_FIELD_WRITER [[gnu::always_inline]] inline

// The text being written: on the stack up to its inline capacity, on the heap beyond.
class OutputText {
 public:
  void operator+=(char16_t c) { *Extend(1) = c; }
  void append(const char16_t* text, size_t n) { std::copy(text, text + n, Extend(n)); }
  // Room for `n` more characters at the end, which the caller fills.
  char16_t* Extend(size_t n) {
    if (!spilled_ && used_ + n <= kInline) {
      char16_t* at = inline_ + used_;
      used_ += n;
      return at;
    }
    Spill();
    const size_t at = heap_.size();
    heap_.resize(at + n);
    return heap_.data() + at;
  }
  void operator+=(std::u16string_view text) { append(text.data(), text.size()); }
  void append(size_t n, char16_t c) {
    for (size_t i = 0; i < n; ++i) *this += c;
  }
  void MoveTo(std::u16string& out) {
    if (spilled_) {
      out = std::move(heap_);
    } else {
      out.assign(inline_, used_);
    }
  }
  std::u16string str() {
    std::u16string out;
    MoveTo(out);
    return out;
  }

 private:
  static constexpr size_t kInline = 128;
  void Spill() {
    if (spilled_) return;
    heap_.assign(inline_, used_);
    spilled_ = true;
  }
  char16_t inline_[kInline];
  size_t used_ = 0;
  bool spilled_ = false;
  std::u16string heap_;
};

// The year printed with at least two digits, without its first two ("2024" gives "24", a
// year of one or two digits gives nothing); at most 3 characters.
char16_t* WriteYear2(char16_t* at, uint16_t year) {
  if (year == kMissing) {
    at[0] = at[1] = u'_';
    return at + 2;
  }
  char16_t printed[5];
  const char16_t* end = WriteDateField(printed, year, 2);
  for (const char16_t* c = printed + 2; c < end; ++c) *at++ = *c;
  return at;
}

void AppendField(OutputText& out, uint16_t value, int width) {
  char16_t field[5];
  out.append(field, static_cast<size_t>(WriteDateField(field, value, width) - field));
}

TQ_FIELD_WRITER uint16_t TwelveHour(uint16_t hour, bool twelveHour) {
  if (!twelveHour || hour == kMissing) return hour;
  if (hour == 0) return 12;
  if (hour >= 13 && hour <= 23) return static_cast<uint16_t>(hour - 12);
  return hour;
}

void AppendDayName(OutputText& out, const DateMask& object, const DateParts& parts, int code,
                   uint32_t flags) {
  const uint32_t style = NameStyleOfCode(code);
  const std::u16string name = FormatDayName(object, parts.dayOfWeek, style, kEngineNameCapacity);
  if (name.empty()) return;
  out += name;
  if ((style & kStyleAbbreviated) && (flags & kFormatLenientLetters)) out += u'.';
}

void AppendMonthName(OutputText& out, const DateMask& object, const DateParts& parts, int code,
                     uint32_t flags) {
  if (parts.month == kMissing) {
    out += u"__";
    return;
  }
  const uint32_t style = NameStyleOfCode(code);
  const std::u16string name = FormatMonthName(object, parts.month, style, kEngineNameCapacity);
  out += name;
  // A full stop marks an abbreviation that shortened the name (not for the upper-case form).
  if ((flags & kFormatLenientLetters) && code >= 15 && code <= 17) {
    const std::u16string full =
        FormatMonthName(object, parts.month, style & ~kStyleAbbreviated, kEngineNameCapacity);
    if (full.size() > name.size()) out += u'.';
  }
}

void AppendYear2(OutputText& out, uint16_t year) {
  char16_t field[3];
  out.append(field, static_cast<size_t>(WriteYear2(field, year) - field));
}

}  // namespace

namespace {

// The value and width of a numeric field (the codes of CompiledMask::numericOnly but literals
// and two-digit years).
TQ_FIELD_WRITER void NumericField(int code, const DateParts& parts, bool twelveHour,
                                  uint16_t& value, int& width) {
  switch (code) {
    case token::kDay:
      value = parts.day, width = 0;
      return;
    case token::kDay2:
      value = parts.day, width = 2;
      return;
    case token::kMonth:
      value = parts.month, width = 0;
      return;
    case token::kMonth2:
      value = parts.month, width = 2;
      return;
    case token::kYear4:
      value = parts.year, width = 4;
      return;
    case token::kHour2:
      value = TwelveHour(parts.hour, twelveHour), width = 2;
      return;
    case token::kHour:
      value = TwelveHour(parts.hour, twelveHour), width = 0;
      return;
    case token::kMinute2:
      value = parts.minute, width = 2;
      return;
    case token::kSecond2:
      value = parts.second, width = 2;
      return;
    case token::kCentisecond2:
      value =
          parts.millisecond == kMissing ? kMissing : static_cast<uint16_t>(parts.millisecond / 10);
      width = 2;
      return;
    default:  // token::kMillisecond3
      value = parts.millisecond, width = 3;
  }
}

// A mask of numbers and literals only (the common case), written straight into a buffer that
// the number of tokens bounds (at most 5 characters a token). False for any other mask.
bool FormatNumericOnly(const CompiledMask& compiled, const DateParts& parts,
                       std::u16string& result) {
  constexpr size_t kMaxTokens = 64;
  if (!compiled.numericOnly || compiled.tokens.size() > kMaxTokens) return false;
  char16_t buffer[kMaxTokens * 5];
  char16_t* at = buffer;
  for (const CompiledToken& t : compiled.tokens) {
    if (t.code == token::kLiteral) {
      *at++ = compiled.text[t.start];
    } else if (t.code == token::kYear2) {
      at = WriteYear2(at, parts.year);
    } else {
      uint16_t value;
      int width;
      NumericField(t.code, parts, compiled.twelveHour, value, width);
      at = WriteDateField(at, value, width);
    }
  }
  // Resized rather than assigned: a text of the same length, as a loop over dates formats,
  // is only overwritten.
  result.resize(static_cast<size_t>(at - buffer));
  std::copy(buffer, at, result.begin());
  return true;
}

void FormatCompiled(const DateMask& object, const CompiledMask& compiled, const DateParts& parts,
                    uint32_t flags, std::u16string& result) {
  if (FormatNumericOnly(compiled, parts, result)) return;
  OutputText out;
  for (const CompiledToken& t : compiled.tokens) {
    switch (t.code) {
      case token::kLiteral:
        out += compiled.text[t.start];
        break;
      case token::kDayInitial: {
        const std::u16string name =
            FormatDayName(object, parts.dayOfWeek, NameStyleOfCode(6), kEngineNameCapacity);
        if (!name.empty()) out += name[0];
        break;
      }
      case token::kYear2:
        AppendYear2(out, parts.year);
        break;
      case token::kAmPm:
        if (parts.hour == kMissing) {
          out += u"__";
        } else {
          out += parts.hour < 12 ? object.AmText() : object.PmText();
        }
        break;
      default:
        if (t.code >= token::kDayNameFirst && t.code <= token::kDayNameLast) {
          AppendDayName(out, object, parts, t.code, flags);
        } else if (t.code >= token::kMonthNameFirst && t.code <= token::kMonthNameLast) {
          AppendMonthName(out, object, parts, t.code, flags);
        } else {
          uint16_t value;
          int width;
          NumericField(t.code, parts, compiled.twelveHour, value, width);
          AppendField(out, value, width);
        }
    }
  }
  out.MoveTo(result);
}

}  // namespace

std::u16string FormatDateParts(const DateMask& object, std::u16string_view mask,
                               const DateParts& parts, uint32_t flags) {
  std::u16string out;
  FormatCompiled(object, CompileMask(mask, object.tokenRange()), parts, flags, out);
  return out;
}

void RewriteLenientLetters(const DateMask& object, RewrittenText& m) {
  // Every rewrite below looks for a pair of lower-case letters.
  const std::u16string_view text = m.view();
  bool pair = false;
  for (size_t i = 0; i + 1 < text.size() && !pair; ++i)
    pair = text[i] == text[i + 1] && (text[i] == u'j' || text[i] == u'd' || text[i] == u'm' ||
                                      text[i] == u'a' || text[i] == u'y');
  if (!pair) return;
  const TokenRange range = object.tokenRange();
  m.Replace(u"jjjj", u"JJJJ");
  if (!CompileMask(m.view(), range).styledDayName) {
    m.Replace(u"jj", u"JJ");
    m.Replace(u"dd", u"DD");
  }
  m.Replace(u"mmmm", u"MMMM");
  if (m.Contains(u"mm") && !CompileMask(m.view(), range).styledMonthName) {
    if (!IsDateTimeFormat(object.inputFormat())) m.Replace(u"mm", u"MM");
    m.Replace(u"mmm", u"MMM");
  }
  m.Replace(u"aa", u"AA");
  m.Replace(u"aaaa", u"AAAA");
  m.Replace(u"yy", u"YY");
  m.Replace(u"yyyy", u"YYYY");
}

void FormatWithDisplayMask(const DateMask& mask, DateParts parts, std::u16string& out,
                           uint32_t flags) {
  const CompiledMask* compiled = &CompileMask(mask.DisplayMask(), mask.tokenRange());
  if (flags & kFormatLenientLetters) {
    if (!compiled->lenient) {
      // The rewrite compiles at most two other masks: this entry, the newest, stays.
      RewrittenText rewritten(compiled->text);
      RewriteLenientLetters(mask, rewritten);
      compiled->lenient = CompileUncached(rewritten.view(), mask.tokenRange());
    }
    compiled = compiled->lenient.get();
  }
  parts.dayOfWeek = kMissing;
  if (compiled->dayOfWeekToken && mask.dateMode() && parts.year != kMissing &&
      parts.month != kMissing && parts.day != kMissing) {
    int32_t dayNumber = 0;
    if (IsValidDateSilently(parts.year, parts.month, parts.day) &&
        DateToDayNumber(parts.day, parts.month, parts.year, dayNumber)) {
      parts.dayOfWeek = static_cast<uint16_t>(((dayNumber + 2) % 7 + 7) % 7);
    }
  }
  FormatCompiled(mask, *compiled, parts, flags, out);
}

bool FormatDate(const DateMask& mask, std::u16string_view value, std::u16string& out,
                uint32_t flags) {
  out.clear();
  const std::u16string_view layout =
      mask.inputFormat().empty() ? mask.DisplayMask() : mask.inputFormat();
  DateParts parts;
  if (!ParseDateParts(mask, value, layout, parts, 0)) return false;
  if (parts.month == kMissing && parts.day == kMissing && parts.year == 0) parts.year = kMissing;
  FormatWithDisplayMask(mask, parts, out, flags);
  return true;
}

}  // namespace tq

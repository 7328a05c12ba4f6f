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

// The text being written: on the stack up to its inline capacity, on the heap beyond.
class OutputText {
 public:
  void operator+=(char16_t c) {
    if (used_ < kInline) {
      inline_[used_++] = c;
    } else {
      Spill();
      heap_ += c;
    }
  }
  void append(const char16_t* text, size_t n) {
    if (used_ + n <= kInline) {
      std::copy(text, text + n, inline_ + used_);
      used_ += n;
    } else {
      Spill();
      heap_.append(text, n);
    }
  }
  void operator+=(std::u16string_view text) { append(text.data(), text.size()); }
  void append(size_t n, char16_t c) {
    for (size_t i = 0; i < n; ++i) *this += c;
  }
  std::u16string str() const { return spilled_ ? heap_ : std::u16string(inline_, used_); }

 private:
  static constexpr size_t kInline = 128;
  void Spill() {
    if (spilled_) return;
    heap_.assign(inline_, used_);
    spilled_ = true;
    used_ = kInline;  // every later write goes to the heap
  }
  char16_t inline_[kInline];
  size_t used_ = 0;
  bool spilled_ = false;
  std::u16string heap_;
};

// `value` in decimal with at least `width` digits ("%0*u").
void AppendNumber(OutputText& out, unsigned value, int width) {
  if (value < 100 && width == 2) {  // the common case: two-digit fields
    const char16_t pair[2] = {static_cast<char16_t>(u'0' + value / 10),
                              static_cast<char16_t>(u'0' + value % 10)};
    out.append(pair, 2);
    return;
  }
  char16_t digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n < width && n < 12) digits[n++] = u'0';
  char16_t ordered[12];
  for (int i = 0; i < n; ++i) ordered[i] = digits[n - 1 - i];
  out.append(ordered, static_cast<size_t>(n));
}

// A field of `width` digits (0: no leading zero), or as many "_" when it is missing.
void AppendField(OutputText& out, uint16_t value, int width) {
  if (value == kMissing) {
    out.append(width == 0 ? 1 : static_cast<size_t>(width), u'_');
  } else {
    AppendNumber(out, value, width);
  }
}

uint16_t TwelveHour(uint16_t hour, bool twelveHour) {
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
  if (year == kMissing) {
    out += u"__";
    return;
  }
  OutputText digits;
  AppendNumber(digits, year, 2);
  const std::u16string printed = digits.str();
  out += std::u16string_view(printed).substr(2);  // the printed year without its first two
}

}  // namespace

namespace {

std::u16string FormatCompiled(const DateMask& object, const CompiledMask& compiled,
                              const DateParts& parts, uint32_t flags) {
  const bool twelveHour = compiled.twelveHour;
  OutputText out;
  for (const CompiledToken& t : compiled.tokens) {
    switch (t.code) {
      case token::kLiteral:
        out += compiled.text[t.start];
        break;
      case token::kDay:
        AppendField(out, parts.day, 0);
        break;
      case token::kDay2:
        AppendField(out, parts.day, 2);
        break;
      case token::kDayInitial: {
        const std::u16string name =
            FormatDayName(object, parts.dayOfWeek, NameStyleOfCode(6), kEngineNameCapacity);
        if (!name.empty()) out += name[0];
        break;
      }
      case token::kMonth:
        AppendField(out, parts.month, 0);
        break;
      case token::kMonth2:
        AppendField(out, parts.month, 2);
        break;
      case token::kYear2:
        AppendYear2(out, parts.year);
        break;
      case token::kYear4:
        AppendField(out, parts.year, 4);
        break;
      case token::kHour2:
        AppendField(out, TwelveHour(parts.hour, twelveHour), 2);
        break;
      case token::kHour:
        AppendField(out, TwelveHour(parts.hour, twelveHour), 0);
        break;
      case token::kMinute2:
        AppendField(out, parts.minute, 2);
        break;
      case token::kSecond2:
        AppendField(out, parts.second, 2);
        break;
      case token::kCentisecond2:
        AppendField(out,
                    parts.millisecond == kMissing ? kMissing
                                                  : static_cast<uint16_t>(parts.millisecond / 10),
                    2);
        break;
      case token::kMillisecond3:
        AppendField(out, parts.millisecond, 3);
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
        }
    }
  }
  return out.str();
}

}  // namespace

std::u16string FormatDateParts(const DateMask& object, std::u16string_view mask,
                               const DateParts& parts, uint32_t flags) {
  return FormatCompiled(object, CompileMask(mask, object.tokenRange()), parts, flags);
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

bool FormatDate(const DateMask& mask, std::u16string_view value, std::u16string& out,
                uint32_t flags) {
  out.clear();
  const std::u16string_view layout =
      mask.inputFormat().empty() ? mask.DisplayMask() : mask.inputFormat();
  DateParts parts;
  if (!ParseDateParts(mask, value, layout, parts, 0)) return false;
  if (parts.month == kMissing && parts.day == kMissing && parts.year == 0) parts.year = kMissing;
  std::u16string_view display = mask.DisplayMask();
  if (flags & kFormatLenientLetters) {
    const CompiledMask& compiled = CompileMask(display, mask.tokenRange());
    if (!compiled.lenient) {
      RewrittenText rewritten(display);
      RewriteLenientLetters(mask, rewritten);
      compiled.lenient.emplace(rewritten.view());
    }
    display = *compiled.lenient;
  }
  const CompiledMask& compiled = CompileMask(display, mask.tokenRange());
  parts.dayOfWeek = kMissing;
  if (compiled.dayOfWeekToken && mask.dateMode() && parts.year != kMissing &&
      parts.month != kMissing && parts.day != kMissing) {
    int32_t dayNumber = 0;
    if (IsValidDateSilently(parts.year, parts.month, parts.day) &&
        DateToDayNumber(parts.day, parts.month, parts.year, dayNumber)) {
      parts.dayOfWeek = static_cast<uint16_t>(((dayNumber + 2) % 7 + 7) % 7);
    }
  }
  out = FormatCompiled(mask, compiled, parts, flags);
  return true;
}

}  // namespace tq

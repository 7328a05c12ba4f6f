// Durations written through unit masks.
#include "datetime/duration_unit_mask.h"

#include "datetime/duration.h"

namespace tq {
namespace {

enum class Unit { kNone, kDays, kHours, kMinutes, kSeconds, kCentiseconds, kMilliseconds };

struct UnitToken {
  std::u16string_view text;
  Unit unit;
  bool padded;  // two digits (three for milliseconds)
};

// In search order; a backslash makes the next character a literal.
constexpr UnitToken kUnitTokens[] = {
    {u"J", Unit::kDays, false},          {u"D", Unit::kDays, false},
    {u"HH", Unit::kHours, true},         {u"H", Unit::kHours, false},
    {u"MM", Unit::kMinutes, true},       {u"M", Unit::kMinutes, false},
    {u"SS", Unit::kSeconds, true},       {u"S", Unit::kSeconds, false},
    {u"CCC", Unit::kMilliseconds, true}, {u"00C", Unit::kMilliseconds, false},
    {u"CC", Unit::kCentiseconds, true},
};

// The token at `at` (advancing past it); a literal is returned with kNone and its character.
const UnitToken* NextUnitToken(std::u16string_view mask, size_t& at, char16_t& literal) {
  if (mask[at] == u'\\' && at + 1 < mask.size()) {
    literal = mask[at + 1];
    at += 2;
    return nullptr;
  }
  for (const UnitToken& t : kUnitTokens) {
    if (mask.substr(at).starts_with(t.text)) {
      at += t.text.size();
      return &t;
    }
  }
  literal = mask[at++];
  return nullptr;
}

bool HasUnit(std::u16string_view mask, std::u16string_view text) {
  size_t at = 0;
  char16_t literal;
  while (at < mask.size()) {
    const UnitToken* t = NextUnitToken(mask, at, literal);
    if (t != nullptr && t->text == text) return true;
    if (t != nullptr && text == u"J" && t->unit == Unit::kDays) return true;
  }
  return false;
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

DurationMask::DurationMask(std::u16string_view mask) : givenMask_(mask), resolvedMask_(mask) {
  if (mask == kDureeProjetMask || mask == kUseDatePickerDurationMask)
    resolvedMask_.assign(kDefaultUnitMask);
}

bool IsUnitMask(std::u16string_view mask) {
  return (mask.size() >= 2 && mask[0] == u'+' && IsDigit(mask[1])) || mask == kDureeProjetMask ||
         mask == kUseDatePickerDurationMask;
}

std::u16string FormatUnitMask(const DurationMask& object, int64_t duration) {
  std::u16string_view mask = object.resolvedMask();
  // The number of units to show, after the "+".
  size_t at = mask.empty() || mask[0] != u'+' ? 0 : 1;
  uint64_t limit = 0;
  for (; at < mask.size() && IsDigit(mask[at]); ++at)
    limit = limit < 1000000 ? limit * 10 + static_cast<uint64_t>(mask[at] - u'0') : limit;
  if (limit < 1) limit = 5;
  mask.remove_prefix(at);

  const DurationParts p = SplitDuration(duration);
  const bool showsDays = HasUnit(mask, u"J");
  const uint64_t days = showsDays ? p.days : 0;
  const uint64_t hours = showsDays ? p.hours : p.hours + p.days * 24;
  const bool hasPlainMilliseconds = HasUnit(mask, u"00C");

  std::u16string out;
  uint64_t written = 0;
  bool writing = false, unitNamed = false;
  Unit last = Unit::kNone;
  auto write = [&](std::u16string text, Unit unit) {
    out += text;
    writing = true;
    ++written;
    last = unit;
    if (unit == Unit::kDays || unit == Unit::kHours) unitNamed = false;
  };
  size_t position = 0;
  while (position < mask.size()) {
    char16_t literal = 0;
    const UnitToken* t = NextUnitToken(mask, position, literal);
    const bool full = written >= limit;
    if (t == nullptr) {
      const bool separator = literal == u':' || literal == u'.' || literal == u'\'';
      if (writing && !(separator && full)) {
        out += literal;
        if (!separator) unitNamed = true;
      }
      continue;
    }
    const int digits = t->padded ? 2 : 1;
    bool skip;
    switch (t->unit) {
      case Unit::kDays:
        skip = days == 0;
        break;
      case Unit::kHours:
        skip = (days == 0 && hours == 0) || full;
        break;
      case Unit::kMinutes:
        skip = (days == 0 && hours == 0 && p.minutes == 0) || full;
        break;
      case Unit::kSeconds:
        skip = full || (hasPlainMilliseconds && days == 0 && hours == 0 && p.minutes == 0 &&
                        p.seconds == 0);
        break;
      default:
        skip = full;
        break;
    }
    if (skip) {
      writing = false;
      continue;
    }
    switch (t->unit) {
      case Unit::kDays:
        write(DecimalText(days), Unit::kDays);
        break;
      case Unit::kHours:
        write(DecimalText(hours, digits), Unit::kHours);
        break;
      case Unit::kMinutes:
        write(DecimalText(p.minutes, digits), Unit::kMinutes);
        break;
      case Unit::kSeconds:
        write(DecimalText(p.seconds, digits), Unit::kSeconds);
        break;
      case Unit::kCentiseconds:
        write(DecimalText((p.milliseconds + 5) / 10, 2), Unit::kCentiseconds);
        break;
      default:
        write(DecimalText(p.milliseconds, t->padded ? 3 : 1), Unit::kMilliseconds);
        break;
    }
  }
  if (!unitNamed) {
    static constexpr std::u16string_view kSuffix[] = {u"",   u"",    u" h", u" m",
                                                      u" s", u" cs", u" ms"};
    out += kSuffix[static_cast<int>(last)];
  }
  return p.negative ? u"-" + out : out;
}

}  // namespace tq

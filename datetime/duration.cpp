// Durations in their plain digit forms and in letter masks.
#include "datetime/duration.h"

#include "datetime/system_masks.h"
#include "frame/message_loader.h"

namespace tq {
namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr uint64_t kMaxDays = INT64_MAX / kMsPerDay;

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// A group of characters read as a decimal number: leading blanks, a sign, digits up to the
// first other character. Saturates at `limit`.
uint64_t GroupValue(std::u16string_view group, uint64_t limit, bool* negative = nullptr) {
  size_t i = 0;
  while (i < group.size() && (group[i] == u' ' || group[i] == u'\t')) ++i;
  bool minus = false;
  if (i < group.size() && (group[i] == u'+' || group[i] == u'-')) minus = group[i++] == u'-';
  uint64_t value = 0;
  for (; i < group.size() && IsDigit(group[i]); ++i) {
    value = value * 10 + static_cast<uint64_t>(group[i] - u'0');
    if (value > limit) value = limit;
  }
  if (negative != nullptr) *negative = minus;
  return value;
}

int64_t Assemble(uint64_t days, int64_t hours, int64_t minutes, int64_t seconds,
                 int64_t milliseconds, bool negative) {
  // Wrapping arithmetic: an absurd text gives some duration, never undefined behaviour.
  const uint64_t total =
      days * static_cast<uint64_t>(kMsPerDay) +
      static_cast<uint64_t>(hours * 3600000 + minutes * 60000 + seconds * 1000 + milliseconds);
  return static_cast<int64_t>(negative ? 0 - total : total);
}

char16_t Letter(uint32_t id, char16_t fallback) {
  std::optional<std::u16string> text = LoadMessageText(id);
  return text && !text->empty() ? (*text)[0] : fallback;
}

}  // namespace

std::u16string DecimalText(uint64_t value, int minimumDigits) {
  char16_t buffer[24];
  int n = 0;
  do {
    buffer[n++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n < minimumDigits && n < 24) buffer[n++] = u'0';
  std::u16string out;
  while (n > 0) out += buffer[--n];
  return out;
}

DurationParts SplitDuration(int64_t duration) {
  DurationParts p;
  p.negative = duration < 0;
  const uint64_t a =
      p.negative ? 0 - static_cast<uint64_t>(duration) : static_cast<uint64_t>(duration);
  p.days = a / kMsPerDay;
  p.hours = static_cast<uint32_t>(a % kMsPerDay / 3600000);
  p.minutes = static_cast<uint32_t>(a % 3600000 / 60000);
  p.seconds = static_cast<uint32_t>(a % 60000 / 1000);
  p.milliseconds = static_cast<uint32_t>(a % 1000);
  return p;
}

int64_t ParseDurationText(std::u16string_view text, bool centiseconds) {
  bool negative = false;
  if (!text.empty() &&
      (text[0] == u'+' || text[0] == u'-' || text[0] == 0xFF0B || text[0] == 0xFF0D)) {
    negative = text[0] == u'-' || text[0] == 0xFF0D;
    text.remove_prefix(1);
  }
  const size_t fraction = centiseconds ? 2 : 3;
  if (text.size() < 6 + fraction + 1) return 0;
  const size_t end = text.size();
  const int64_t ms =
      static_cast<int64_t>(GroupValue(text.substr(end - fraction), 999)) * (centiseconds ? 10 : 1);
  const size_t s = end - fraction - 2, m = s - 2, h = m - 2;
  return Assemble(GroupValue(text.substr(0, h), kMaxDays),
                  static_cast<int64_t>(GroupValue(text.substr(h, 2), 99)),
                  static_cast<int64_t>(GroupValue(text.substr(m, 2), 99)),
                  static_cast<int64_t>(GroupValue(text.substr(s, 2), 99)), ms, negative);
}

std::u16string FormatDurationText(int64_t duration, bool centiseconds) {
  const DurationParts p = SplitDuration(duration);
  std::u16string out = p.negative ? u"-" : u"";
  out += DecimalText(p.days);
  out += DecimalText(p.hours, 2);
  out += DecimalText(p.minutes, 2);
  out += DecimalText(p.seconds, 2);
  if (centiseconds) {
    out += DecimalText(static_cast<uint64_t>(p.milliseconds * 0.1 + 0.5), 2);
  } else {
    out += DecimalText(p.milliseconds, 3);
  }
  if (out.size() > 24) out.resize(24);
  return out;
}

DurationLetters CurrentDurationLetters() {
  return {Letter(0x6FA1, u'J'), Letter(0x6FA2, u'H'), Letter(0x6FA3, u'M'), Letter(0x6FA4, u'S'),
          Letter(0x6FA5, u'L')};
}

std::u16string FormatLetterMask(int64_t duration, std::u16string_view mask,
                                const DurationLetters& l) {
  const DurationParts p = SplitDuration(duration);
  std::u16string m(mask);
  const std::u16string days = DecimalText(p.days);
  bool showsDays = ReplaceAll(m, std::u16string(1, l.day), days);
  showsDays = ReplaceAll(m, u"D", days) || showsDays;
  const uint64_t hours = showsDays ? p.hours : p.hours + p.days * 24;
  ReplaceAll(m, std::u16string(2, l.hour), DecimalText(hours, 2));
  ReplaceAll(m, std::u16string(2, l.minute), DecimalText(p.minutes, 2));
  ReplaceAll(m, std::u16string(2, l.second), DecimalText(p.seconds, 2));
  const std::u16string ms = DecimalText(p.milliseconds, 3);
  if (!ReplaceAll(m, std::u16string(3, l.millisecond), ms) &&
      !ReplaceAll(m, std::u16string(2, l.millisecond), ms.substr(0, 2)))
    ReplaceAll(m, std::u16string(1, l.millisecond), ms.substr(0, 1));
  ReplaceAll(m, u"+", p.negative ? u"-" : u"");
  return m;
}

int64_t ParseLetterMask(std::u16string_view text, std::u16string_view mask,
                        const DurationLetters& l) {
  uint64_t days = 0;
  int64_t hours = 0, minutes = 0, seconds = 0, ms = 0;
  bool negative = false;
  size_t i = mask.size(), j = text.size();
  // The `count` characters of the text that end at j (fewer at its start), read as a number.
  auto take = [&](size_t count, uint64_t limit) {
    const size_t from = j >= count ? j - count : 0;
    const uint64_t value = GroupValue(text.substr(from, j - from), limit);
    j = from;
    return static_cast<int64_t>(value);
  };
  auto run = [&](char16_t letter) {  // repeated letters ending at i, up to 3
    size_t n = 0;
    while (n < 3 && n < i && mask[i - 1 - n] == letter) ++n;
    return n;
  };
  while (i > 0) {
    const char16_t c = mask[i - 1];
    if (c == l.millisecond) {
      const size_t n = run(c);
      ms = take(n, 999) * (n == 3 ? 1 : n == 2 ? 10 : 100);
      i -= n;
    } else if ((c == l.second || c == l.minute || c == l.hour) && run(c) >= 2) {
      const int64_t value = take(2, 99);
      (c == l.second ? seconds : c == l.minute ? minutes : hours) = value;
      i -= 2;
    } else if (c == l.day || c == u'D') {
      size_t from = j;
      while (from > 0 && IsDigit(text[from - 1])) --from;
      days = GroupValue(text.substr(from, j - from), kMaxDays);
      j = from;
      --i;
    } else if (c == u'+') {
      if (j > 0 && text[j - 1] == u'-') {
        negative = true;
        --j;
      }
      --i;
    } else {
      if (j > 0) --j;
      --i;
    }
  }
  return Assemble(days, hours, minutes, seconds, ms, negative);
}

}  // namespace tq

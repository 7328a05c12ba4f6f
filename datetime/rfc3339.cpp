// RFC 3339 timestamps: reading, writing and the two conversions the date functions make.
#include "datetime/rfc3339.h"

#include <cstdio>

#include "datetime/rfc3339_time_zone.h"
#include "platform/device_clock.h"

namespace tq {
namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kMsPerMinute = 60000;

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// A decimal number at the start of `text` (optional sign, then digits); 0 when none.
int64_t Decimal(std::u16string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]) && value < 100000000000LL; ++i)
    value = value * 10 + (text[i] - u'0');
  return negative ? -value : value;
}

// `count` characters from `at` (fewer at the end of the text) read as a number.
int64_t DigitsAt(std::u16string_view text, size_t at, size_t count) {
  return at < text.size() ? Decimal(text.substr(at, count)) : 0;
}

std::u16string Widen(const char* text) {
  std::u16string out;
  for (; *text; ++text) out += static_cast<char16_t>(*text);
  return out;
}

// Days since 1970-01-01 of a proleptic Gregorian date; months outside 1..12 and days outside
// the month count on linearly.
int64_t DaysFromDate(int64_t year, int64_t month, int64_t day) {
  year += (month - 1) / 12;
  month = (month - 1) % 12 + 1;
  if (month < 1) {
    month += 12;
    --year;
  }
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void DateFromDays(int64_t days, int64_t& year, int64_t& month, int64_t& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

int64_t FileUnits(const ce::SYSTEMTIME& t, bool& ok) {
  ce::FILETIME f;
  ok = ce::SystemTimeToFileTime(&t, &f) != 0;
  return static_cast<int64_t>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
}

}  // namespace

ce::SYSTEMTIME ToSystemTime(const CompactDateTime& r) {
  ce::SYSTEMTIME t{};
  t.wYear = r.year;
  t.wMonth = r.month;
  t.wDay = r.day;
  t.wHour = static_cast<ce::WORD>(r.millisecondOfDay / 3600000);
  t.wMinute = static_cast<ce::WORD>(r.millisecondOfDay / 60000 % 60);
  t.wSecond = static_cast<ce::WORD>(r.millisecondOfDay / 1000 % 60);
  t.wMilliseconds = static_cast<ce::WORD>(r.millisecondOfDay % 1000);
  return t;
}

CompactDateTime FromSystemTime(const ce::SYSTEMTIME& t) {
  CompactDateTime r;
  r.year = t.wYear;
  r.month = static_cast<uint8_t>(t.wMonth);
  r.day = static_cast<uint8_t>(t.wDay);
  r.millisecondOfDay = ((t.wHour * 60u + t.wMinute) * 60u + t.wSecond) * 1000u + t.wMilliseconds;
  return r;
}

std::u16string FormatRfc3339(const CompactDateTime& r) {
  const ce::SYSTEMTIME t = ToSystemTime(r);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  std::u16string out = Widen(buffer);
  const int32_t hours = r.offsetHours >= -12 && r.offsetHours <= 12 ? r.offsetHours : 0;
  const int32_t minutes = r.offsetMinutes >= -59 && r.offsetMinutes <= 59 ? r.offsetMinutes : 0;
  if (hours == 0 && minutes == 0) return out + u"Z";
  // The offset is what local time adds to reach UTC: negative when local time is ahead.
  const bool ahead = hours * 60 + minutes < 0;
  std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", ahead ? '+' : '-', hours < 0 ? -hours : hours,
                minutes < 0 ? -minutes : minutes);
  return out + Widen(buffer);
}

CompactDateTime ParseRfc3339(std::u16string_view text) {
  CompactDateTime r;
  const size_t t = text.find(u'T');
  const std::u16string_view datePart = text.substr(0, t);
  std::u16string_view timePart =
      t == std::u16string_view::npos ? std::u16string_view() : text.substr(t + 1);

  const size_t dash1 = datePart.find(u'-');
  const size_t dash2 = dash1 == std::u16string_view::npos ? dash1 : datePart.find(u'-', dash1 + 1);
  int64_t year = Decimal(datePart);
  int64_t month = dash1 == std::u16string_view::npos ? 0 : Decimal(datePart.substr(dash1 + 1));
  int64_t day = dash2 == std::u16string_view::npos ? 0 : Decimal(datePart.substr(dash2 + 1));

  int64_t ms = 0, offset = 0;  // offset in minutes, added to UTC to give the written time
  r.dateOnly = timePart.empty();
  if (!timePart.empty()) {
    if (timePart.back() == u'Z') timePart.remove_suffix(1);
    size_t sign = timePart.find(u'+');
    if (sign == std::u16string_view::npos) sign = timePart.find(u'-');
    if (sign != std::u16string_view::npos) {
      const std::u16string_view o = timePart.substr(sign + 1);
      const size_t colon = o.find(u':');
      const int64_t minutes =
          DigitsAt(o, 0, 2) * 60 +
          (colon == std::u16string_view::npos ? 0 : Decimal(o.substr(colon + 1)));
      offset = timePart[sign] == u'+' ? minutes : -minutes;
      timePart = timePart.substr(0, sign);
    }
    const size_t dot = timePart.find(u'.');
    if (dot != std::u16string_view::npos) {
      std::u16string fraction(timePart.substr(dot + 1, 3));
      fraction.resize(3, u'0');
      ms = Decimal(fraction);
      timePart = timePart.substr(0, dot);
    }
    const size_t c1 = timePart.find(u':');
    const size_t c2 = c1 == std::u16string_view::npos ? c1 : timePart.find(u':', c1 + 1);
    const int64_t h = Decimal(timePart);
    const int64_t m = c1 == std::u16string_view::npos ? 0 : Decimal(timePart.substr(c1 + 1));
    const int64_t s = c2 == std::u16string_view::npos ? 0 : Decimal(timePart.substr(c2 + 1));
    ms += ((h * 60 + m) * 60 + s) * 1000;
  }
  // Back to UTC, carrying whole days into the date.
  ms -= offset * kMsPerMinute;
  int64_t days = ms >= 0 ? ms / kMsPerDay : -((-ms + kMsPerDay - 1) / kMsPerDay);
  ms -= days * kMsPerDay;
  if (days != 0) DateFromDays(DaysFromDate(year, month, day) + days, year, month, day);
  r.year = static_cast<uint16_t>(year);
  r.month = static_cast<uint8_t>(month);
  r.day = static_cast<uint8_t>(day);
  r.millisecondOfDay = static_cast<uint32_t>(ms);
  return r;
}

std::optional<std::u16string> DateTextToRfc3339(std::u16string_view value, bool utc) {
  CompactDateTime r;
  r.year = static_cast<uint16_t>(DigitsAt(value, 0, 4));
  r.month = static_cast<uint8_t>(DigitsAt(value, 4, 2));
  r.day = static_cast<uint8_t>(DigitsAt(value, 6, 2));
  r.dateOnly = value.size() <= 8;
  if (!r.dateOnly) {
    // The fraction's scale follows its digits: milliseconds, centiseconds or tenths.
    const size_t digits = value.size() > 14 ? value.size() - 14 : 0;
    const int64_t ms = digits >= 3   ? DigitsAt(value, 14, 3)
                       : digits == 2 ? DigitsAt(value, 14, 2) * 10
                                     : DigitsAt(value, 14, 1) * 100;
    const int64_t total =
        ((DigitsAt(value, 8, 2) * 60 + DigitsAt(value, 10, 2)) * 60 + DigitsAt(value, 12, 2)) *
            1000 +
        ms;
    r.millisecondOfDay = static_cast<uint32_t>(total);
  }
  const ce::SYSTEMTIME local = ToSystemTime(r);
  ce::SYSTEMTIME universal;
  if (!LocalToUtc(local, universal)) return std::nullopt;
  if (utc) return FormatRfc3339(FromSystemTime(universal));
  bool okLocal = false, okUtc = false;
  const int64_t difference = (FileUnits(universal, okUtc) - FileUnits(local, okLocal)) / 10000;
  if (!okLocal || !okUtc) return std::nullopt;
  const int64_t minutes = difference / kMsPerMinute;
  r.offsetHours = static_cast<int32_t>(minutes / 60);
  r.offsetMinutes = static_cast<int32_t>(minutes % 60);
  return FormatRfc3339(r);
}

std::optional<std::u16string> Rfc3339ToDateText(std::u16string_view text, bool utc) {
  ce::SYSTEMTIME t = ToSystemTime(ParseRfc3339(text));
  if (!utc) {
    ce::SYSTEMTIME local;
    if (!UtcToLocal(t, local)) return std::nullopt;
    t = local;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d%02d%02d%02d%03d", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return Widen(buffer);
}

}  // namespace tq

// GetDateFormatW: dates written through date pictures in the device's letters.
#include "platform/date_pictures.h"

#include "platform/device_clock.h"
#include "platform/last_error.h"
#include "platform/locale_data.h"

namespace ce {
namespace {

std::u16string TwoDigits(int n) {
  std::u16string s = LocaleNumber(n % 100);
  return s.size() < 2 ? u"0" + s : s;
}

bool IsValidDate(const SYSTEMTIME& t) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 || t.wYear < 1601 || t.wYear > 30827)
    return false;
  const bool leap = (t.wYear % 4 == 0 && t.wYear % 100 != 0) || t.wYear % 400 == 0;
  return t.wDay <= kDays[t.wMonth - 1] + (t.wMonth == 2 && leap ? 1 : 0);
}

int WeekdayOf(const SYSTEMTIME& t) {
  // Sakamoto's rule on the proleptic Gregorian calendar; 0 = Sunday.
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int y = t.wYear - (t.wMonth < 3 ? 1 : 0);
  return (y + y / 4 - y / 100 + y / 400 + kOffsets[t.wMonth - 1] + t.wDay) % 7;
}

std::u16string ExpandPicture(const LocaleData& d, const SYSTEMTIME& t, std::u16string_view p) {
  // A month name follows a day number when the picture shows the day of the month.
  bool showsDay = false;
  for (size_t i = 0; i < p.size();) {
    size_t run = 1;
    while (i + run < p.size() && p[i + run] == p[i]) ++run;
    if (p[i] == u'd' && run <= 2) showsDay = true;
    i += run;
  }
  std::u16string out;
  for (size_t i = 0; i < p.size();) {
    const char16_t c = p[i];
    if (c == u'\'') {  // quoted text; '' is a quote, inside or outside
      if (i + 1 < p.size() && p[i + 1] == u'\'') {
        out += u'\'';
        i += 2;
        continue;
      }
      for (++i; i < p.size(); ++i) {
        if (p[i] != u'\'') {
          out += p[i];
        } else if (i + 1 < p.size() && p[i + 1] == u'\'') {
          out += u'\'';
          ++i;
        } else {
          break;
        }
      }
      ++i;
      continue;
    }
    size_t run = 1;
    while (i + run < p.size() && p[i + run] == c) ++run;
    i += run;
    const int month = t.wMonth - 1;
    switch (c) {
      case u'd':
        if (run == 1)
          out += LocaleNumber(t.wDay);
        else if (run == 2)
          out += TwoDigits(t.wDay);
        else if (run == 3)
          out += d.shortDays[WeekdayOf(t)];
        else
          out += d.days[WeekdayOf(t)];
        break;
      case u'M':
        if (run == 1)
          out += LocaleNumber(t.wMonth);
        else if (run == 2)
          out += TwoDigits(t.wMonth);
        else if (run == 3)
          out += showsDay ? d.shortMonths[month] : d.standaloneShortMonths[month];
        else
          out += showsDay ? d.months[month] : d.standaloneMonths[month];
        break;
      case u'y':
        if (run == 1)
          out += LocaleNumber(t.wYear % 100);
        else if (run == 2)
          out += TwoDigits(t.wYear);
        else
          out += LocaleNumber(t.wYear);
        break;
      case u'g':
        out += d.era;
        break;
      default:
        out.append(run, c);
    }
  }
  return out;
}

}  // namespace

int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format,
                   LPWSTR dateText, int dateCount) {
  if ((format != nullptr && flags != 0) || (flags & ~(DATE_SHORTDATE | DATE_LONGDATE)) != 0 ||
      flags == (DATE_SHORTDATE | DATE_LONGDATE)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  std::shared_ptr<const LocaleData> d = DataForLcid(locale);
  if (!d) return 0;
  SYSTEMTIME t;
  if (date != nullptr) {
    t = *date;
  } else {
    GetLocalTime(&t);
  }
  if (!IsValidDate(t)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string_view picture = format != nullptr         ? std::u16string_view(format)
                                      : (flags & DATE_LONGDATE) ? std::u16string_view(d->longDate)
                                                                : std::u16string_view(d->shortDate);
  return CopyLocaleText(ExpandPicture(*d, t, picture), dateText, dateCount);
}

}  // namespace ce

// GetLocaleInfoW: the device's locale items, read from the locale's data.
#include "platform/locale_info.h"

#include <optional>

#include "platform/last_error.h"
#include "platform/locale_data.h"

namespace ce {
namespace {

// Number of fraction digits the device shows for plain numbers in every locale it supports.
constexpr int kNumberDigits = 2;

std::optional<std::u16string> LocaleItemText(const LocaleData& d, LCTYPE type) {
  if (type >= LOCALE_SDAYNAME1 && type < LOCALE_SDAYNAME1 + 7)
    return d.days[(type - LOCALE_SDAYNAME1 + 1) % 7];
  if (type >= LOCALE_SABBREVDAYNAME1 && type < LOCALE_SABBREVDAYNAME1 + 7)
    return d.shortDays[(type - LOCALE_SABBREVDAYNAME1 + 1) % 7];
  if (type >= LOCALE_SMONTHNAME1 && type < LOCALE_SMONTHNAME1 + 12)
    return d.standaloneMonths[type - LOCALE_SMONTHNAME1];
  if (type >= LOCALE_SABBREVMONTHNAME1 && type < LOCALE_SABBREVMONTHNAME1 + 12)
    return d.standaloneShortMonths[type - LOCALE_SABBREVMONTHNAME1];
  switch (type) {
    case LOCALE_SLANGUAGE:
      return d.language;
    case LOCALE_SDECIMAL:
      return d.decimal;
    case LOCALE_STHOUSAND:
      return d.thousand;
    case LOCALE_IDIGITS:
      return LocaleNumber(kNumberDigits);
    case LOCALE_SCURRENCY:
      return d.currency;
    case LOCALE_ICURRDIGITS:
      return LocaleNumber(d.currencyDigits);
    case LOCALE_ICURRENCY:
      return LocaleNumber(d.positiveCurrencyOrder);
    case LOCALE_INEGCURR:
      return LocaleNumber(d.negativeCurrencyOrder);
    case LOCALE_SSHORTDATE:
      return d.shortDate;
    case LOCALE_SLONGDATE:
      return d.longDate;
    case LOCALE_S1159:
      return d.am;
    case LOCALE_S2359:
      return d.pm;
    case LOCALE_SNAME:
      return d.tag;
    case LOCALE_STIMEFORMAT:
      return d.timeFormat;
    default:
      return std::nullopt;
  }
}

}  // namespace

int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataCount) {
  std::shared_ptr<const LocaleData> d = DataForLcid(locale);
  if (!d) return 0;
  std::optional<std::u16string> text = LocaleItemText(*d, type & ~LOCALE_NOUSEROVERRIDE);
  if (!text) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  return CopyLocaleText(*text, data, dataCount);
}

}  // namespace ce

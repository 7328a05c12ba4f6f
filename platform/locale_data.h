// The device's locale data as ICU gives it, gathered once a locale: names of days and months,
// symbols, date and time pictures in the device's letters, number and currency items. The
// locale calls of the device (locale items, date pictures, language names) read it.
//
// Each locale's data is gathered once and kept for the process; the device's locale never
// changes while it runs, and tests that switch locales get a separate entry per locale name.
// The data is immutable once built and shared between threads.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace ce {

struct LocaleData {
  std::u16string tag;  // "fr-FR"
  std::u16string language;
  std::array<std::u16string, 7> days, shortDays;       // Sunday first
  std::array<std::u16string, 12> months, shortMonths;  // after a day number
  std::array<std::u16string, 12> standaloneMonths, standaloneShortMonths;
  std::u16string era, am, pm;
  std::u16string shortDate, longDate, timeFormat;
  std::u16string decimal, thousand, currency;
  int currencyDigits = 2;
  int positiveCurrencyOrder = 3;
  int negativeCurrencyOrder = 1;
};

// The data of an ICU locale ("fr_FR").
std::shared_ptr<const LocaleData> DataForIcuLocale(const std::string& icuLocale);
// The data of the locale an LCID names; null with ERROR_INVALID_PARAMETER when none.
std::shared_ptr<const LocaleData> DataForLcid(LCID lcid);

// Copies a text result by the device's size rules: a count of 0 asks for the size needed
// (terminator included); a buffer too small fails with ERROR_INSUFFICIENT_BUFFER. Returns the
// characters written with the terminator, or 0 with the last error set.
int CopyLocaleText(std::u16string_view text, LPWSTR out, int count);

// A number in decimal, as locale items and date pictures write it.
std::u16string LocaleNumber(int n);

// The device-style picture derived from an ICU pattern (exposed for tests).
std::u16string DevicePictureFromIcuPattern(std::u16string_view pattern);

}  // namespace ce

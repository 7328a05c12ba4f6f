// Locale items, date pictures and language names of the device, from ICU's locale data.
//
// Each locale's data is gathered once (names, symbols, pictures) and kept for the process;
// the device's locale never changes while it runs, and tests that switch locales get a
// separate entry per locale name.
#include "platform/locale_info.h"

#include <unicode/udat.h>
#include <unicode/uloc.h>
#include <unicode/unum.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/device_clock.h"
#include "platform/last_error.h"
#include "platform/locale_ids.h"
#include "platform/modules.h"
#include "platform/utf8.h"

namespace ce {
namespace {

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

// Short date pictures of the device where its locale data differs from the derivation rule.
struct PictureOverride {
  const char* icuLocale;
  const char16_t* shortDate;
};
constexpr PictureOverride kShortDateOverrides[] = {
    {"es_ES", u"dd/MM/yyyy"},
};

// Number of fraction digits the device shows for plain numbers in every locale it supports.
constexpr int kNumberDigits = 2;

bool IsSpace(char16_t c) {
  return c == u' ' || c == 0x00A0 || c == 0x202F;
}
bool IsBidiMark(char16_t c) {
  return c == 0x200E || c == 0x200F || c == 0x061C;
}

std::u16string Symbol(UDateFormat* format, UDateFormatSymbolType type, int32_t index) {
  UChar buffer[128];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = udat_getSymbols(format, type, index, buffer, 128, &status);
  if (U_FAILURE(status) || n <= 0) return std::u16string();
  return std::u16string(buffer, static_cast<size_t>(std::min(n, 127)));
}

std::u16string DateTimePattern(const char* locale, UDateFormatStyle time, UDateFormatStyle date) {
  UErrorCode status = U_ZERO_ERROR;
  UDateFormat* format = udat_open(time, date, locale, nullptr, 0, nullptr, 0, &status);
  if (U_FAILURE(status)) return std::u16string();
  UChar buffer[128];
  const int32_t n = udat_toPattern(format, false, buffer, 128, &status);
  udat_close(format);
  if (U_FAILURE(status) || n <= 0) return std::u16string();
  return std::u16string(buffer, static_cast<size_t>(std::min(n, 127)));
}

// The currency pattern reduced to the device's letters: "$" symbol, "n" number, "-" sign,
// " " space, parentheses.
std::u16string CurrencyLayout(std::u16string_view pattern) {
  std::u16string out;
  for (char16_t c : pattern) {
    if (c == 0x00A4) {
      out += u'$';
    } else if (c == u'#' || c == u'0' || c == u',' || c == u'.') {
      if (out.empty() || out.back() != u'n') out += u'n';
    } else if (c == u'-' || c == u'(' || c == u')') {
      out += c;
    } else if (IsSpace(c)) {
      out += u' ';
    }
  }
  return out;
}

void ReadCurrencyOrders(const char* locale, LocaleData& data) {
  UErrorCode status = U_ZERO_ERROR;
  UNumberFormat* format = unum_open(UNUM_CURRENCY, nullptr, 0, locale, nullptr, &status);
  if (U_FAILURE(status)) return;
  UChar buffer[128];
  int32_t n = unum_toPattern(format, false, buffer, 128, &status);
  if (U_SUCCESS(status) && n > 0) {
    const std::u16string pattern(buffer, static_cast<size_t>(std::min(n, 127)));
    const size_t split = pattern.find(u';');
    const std::u16string positive = CurrencyLayout(pattern.substr(0, split));
    const std::u16string negative =
        split == std::u16string::npos ? u"-" + positive : CurrencyLayout(pattern.substr(split + 1));
    static constexpr std::u16string_view kPositive[] = {u"$n", u"n$", u"$ n", u"n $"};
    static constexpr std::u16string_view kNegative[] = {
        u"($n)", u"-$n",  u"$-n",  u"$n-",  u"(n$)", u"-n$",  u"n-$",   u"n$-",
        u"-n $", u"-$ n", u"n $-", u"$ n-", u"$ -n", u"n- $", u"($ n)", u"(n $)"};
    for (int i = 0; i < 4; ++i)
      if (positive == kPositive[i]) data.positiveCurrencyOrder = i;
    for (int i = 0; i < 16; ++i)
      if (negative == kNegative[i]) data.negativeCurrencyOrder = i;
  }
  data.currencyDigits = unum_getAttribute(format, UNUM_FRACTION_DIGITS);
  status = U_ZERO_ERROR;
  n = unum_getSymbol(format, UNUM_CURRENCY_SYMBOL, buffer, 128, &status);
  if (U_SUCCESS(status) && n > 0)
    data.currency.assign(buffer, static_cast<size_t>(std::min(n, 127)));
  status = U_ZERO_ERROR;
  n = unum_getSymbol(format, UNUM_DECIMAL_SEPARATOR_SYMBOL, buffer, 128, &status);
  if (U_SUCCESS(status) && n > 0)
    data.decimal.assign(buffer, static_cast<size_t>(std::min(n, 127)));
  status = U_ZERO_ERROR;
  n = unum_getSymbol(format, UNUM_GROUPING_SEPARATOR_SYMBOL, buffer, 128, &status);
  if (U_SUCCESS(status) && n > 0)
    data.thousand.assign(buffer, static_cast<size_t>(std::min(n, 127)));
  // The device predates the narrow no-break space; it separates thousands with U+00A0.
  for (char16_t& c : data.thousand)
    if (c == 0x202F) c = 0x00A0;
  unum_close(format);
}

std::shared_ptr<const LocaleData> BuildLocaleData(const std::string& icuLocale) {
  auto data = std::make_shared<LocaleData>();
  const char* locale = icuLocale.c_str();
  char tag[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t tagLength = uloc_toLanguageTag(locale, tag, sizeof tag, false, &status);
  if (U_SUCCESS(status) && tagLength > 0) data->tag = Utf8ToUtf16(std::string_view(tag, tagLength));
  UChar name[128];
  status = U_ZERO_ERROR;
  const int32_t nameLength = uloc_getDisplayName(locale, locale, name, 128, &status);
  if (U_SUCCESS(status) && nameLength > 0)
    data->language.assign(name, static_cast<size_t>(std::min(nameLength, 127)));

  status = U_ZERO_ERROR;
  UDateFormat* format = udat_open(UDAT_SHORT, UDAT_SHORT, locale, nullptr, 0, nullptr, 0, &status);
  if (U_SUCCESS(status)) {
    for (int i = 0; i < 7; ++i) {
      data->days[i] = Symbol(format, UDAT_WEEKDAYS, i + 1);
      data->shortDays[i] = Symbol(format, UDAT_SHORT_WEEKDAYS, i + 1);
    }
    for (int i = 0; i < 12; ++i) {
      data->months[i] = Symbol(format, UDAT_MONTHS, i);
      data->shortMonths[i] = Symbol(format, UDAT_SHORT_MONTHS, i);
      data->standaloneMonths[i] = Symbol(format, UDAT_STANDALONE_MONTHS, i);
      data->standaloneShortMonths[i] = Symbol(format, UDAT_STANDALONE_SHORT_MONTHS, i);
    }
    data->era = Symbol(format, UDAT_ERAS, 1);
    data->am = Symbol(format, UDAT_AM_PMS, 0);
    data->pm = Symbol(format, UDAT_AM_PMS, 1);
    udat_close(format);
  }
  data->shortDate = DevicePictureFromIcuPattern(DateTimePattern(locale, UDAT_NONE, UDAT_SHORT));
  for (const PictureOverride& o : kShortDateOverrides)
    if (icuLocale == o.icuLocale) data->shortDate = o.shortDate;
  data->longDate = DevicePictureFromIcuPattern(DateTimePattern(locale, UDAT_NONE, UDAT_FULL));
  data->timeFormat = DevicePictureFromIcuPattern(DateTimePattern(locale, UDAT_MEDIUM, UDAT_NONE));
  ReadCurrencyOrders(locale, *data);
  return data;
}

std::shared_ptr<const LocaleData> DataForIcuLocale(const std::string& icuLocale) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const LocaleData>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto found = cache.find(icuLocale);
  if (found != cache.end()) return found->second;
  auto data = BuildLocaleData(icuLocale);
  cache.emplace(icuLocale, data);
  return data;
}

// The data of the locale an LCID names; null with ERROR_INVALID_PARAMETER when none.
std::shared_ptr<const LocaleData> DataForLcid(LCID lcid) {
  std::optional<std::string> icu = IcuLocaleForLcid(lcid);
  if (!icu) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return DataForIcuLocale(*icu);
}

// The device's size rules for a text result.
int CopyResult(std::u16string_view text, LPWSTR out, int count) {
  const int needed = static_cast<int>(text.size()) + 1;
  if (count < 0 || (count > 0 && out == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (count == 0) return needed;
  if (count < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(text.begin(), text.end(), out);
  out[text.size()] = u'\0';
  return needed;
}

std::u16string Number(int n) {
  return Utf8ToUtf16(std::to_string(n));
}

std::u16string TwoDigits(int n) {
  std::u16string s = Number(n % 100);
  return s.size() < 2 ? u"0" + s : s;
}

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
      return Number(kNumberDigits);
    case LOCALE_SCURRENCY:
      return d.currency;
    case LOCALE_ICURRDIGITS:
      return Number(d.currencyDigits);
    case LOCALE_ICURRENCY:
      return Number(d.positiveCurrencyOrder);
    case LOCALE_INEGCURR:
      return Number(d.negativeCurrencyOrder);
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
          out += Number(t.wDay);
        else if (run == 2)
          out += TwoDigits(t.wDay);
        else if (run == 3)
          out += d.shortDays[WeekdayOf(t)];
        else
          out += d.days[WeekdayOf(t)];
        break;
      case u'M':
        if (run == 1)
          out += Number(t.wMonth);
        else if (run == 2)
          out += TwoDigits(t.wMonth);
        else if (run == 3)
          out += showsDay ? d.shortMonths[month] : d.standaloneShortMonths[month];
        else
          out += showsDay ? d.months[month] : d.standaloneMonths[month];
        break;
      case u'y':
        if (run == 1)
          out += Number(t.wYear % 100);
        else if (run == 2)
          out += TwoDigits(t.wYear);
        else
          out += Number(t.wYear);
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

std::u16string DevicePictureFromIcuPattern(std::u16string_view pattern) {
  std::u16string out;
  for (size_t i = 0; i < pattern.size();) {
    const char16_t c = pattern[i];
    if (c == u'\'') {  // quoted text is copied with its quotes
      size_t j = pattern.find(u'\'', i + 1);
      j = j == std::u16string_view::npos ? pattern.size() : j + 1;
      out.append(pattern.substr(i, j - i));
      i = j;
      continue;
    }
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    i += run;
    switch (c) {
      case u'y':
      case u'u':
        out += u"yyyy";
        break;
      case u'L':
        out.append(run, u'M');
        break;
      case u'E':
      case u'c':
        out += run >= 4 ? u"dddd" : u"ddd";
        break;
      case u'a':
        out += u"tt";
        break;
      case u'K':
        out.append(std::min<size_t>(run, 2), u'h');
        break;
      case u'k':
        out.append(std::min<size_t>(run, 2), u'H');
        break;
      case u'G':  // the device shows no era in its date pictures
        while (!out.empty() && IsSpace(out.back())) out.pop_back();
        break;
      default:
        if (IsBidiMark(c)) break;
        if (IsSpace(c))
          out.append(run, u' ');
        else
          out.append(run, c);
    }
  }
  return out;
}

int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataCount) {
  std::shared_ptr<const LocaleData> d = DataForLcid(locale);
  if (!d) return 0;
  std::optional<std::u16string> text = LocaleItemText(*d, type & ~LOCALE_NOUSEROVERRIDE);
  if (!text) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  return CopyResult(*text, data, dataCount);
}

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
  return CopyResult(ExpandPicture(*d, t, picture), dateText, dateCount);
}

BOOL GetUserPreferredUILanguages(DWORD flags, ULONG* languageCount, LPWSTR buffer,
                                 ULONG* bufferSize) {
  if (languageCount == nullptr || bufferSize == nullptr ||
      (flags & ~(MUI_LANGUAGE_ID | MUI_LANGUAGE_NAME)) != 0 ||
      flags == (MUI_LANGUAGE_ID | MUI_LANGUAGE_NAME)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::u16string name;
  if (flags & MUI_LANGUAGE_ID) {
    static const char16_t kHex[] = u"0123456789ABCDEF";
    const LANGID lang = LANGIDFROMLCID(GetUserDefaultLCID());
    for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(lang >> shift) & 0xF];
  } else {
    name = DataForIcuLocale(DeviceIcuLocale())->tag;
  }
  const ULONG needed = static_cast<ULONG>(name.size()) + 2;  // name, its end, the list's end
  *languageCount = 1;
  if (buffer == nullptr) {
    *bufferSize = needed;
    return TRUE;
  }
  if (*bufferSize < needed) {
    *bufferSize = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::copy(name.begin(), name.end(), buffer);
  buffer[name.size()] = u'\0';
  buffer[name.size() + 1] = u'\0';
  *bufferSize = needed;
  return TRUE;
}

int GetSystemDefaultLocaleName(LPWSTR name, int nameCount) {
  return CopyResult(DataForIcuLocale(DeviceIcuLocale())->tag, name, nameCount);
}

LCID LocaleNameToLCID(LPCWSTR name, DWORD flags) {
  std::optional<std::string> tag = name ? Utf16ToUtf8Strict(name) : std::nullopt;
  if (!tag || tag->empty() || flags != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  char icu[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  int32_t parsed = 0;
  uloc_forLanguageTag(tag->c_str(), icu, sizeof icu, &parsed, &status);
  const uint32_t lcid =
      U_SUCCESS(status) && parsed == static_cast<int32_t>(tag->size()) ? uloc_getLCID(icu) : 0;
  if (lcid == 0) SetLastError(ERROR_INVALID_PARAMETER);
  return lcid;
}

void RegisterLocaleModule() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterBuiltinDeviceModule(
        u"kernel32.dll",
        {{"GetUserPreferredUILanguages", 0,
          reinterpret_cast<FARPROC>(&GetUserPreferredUILanguages)},
         {"GetSystemDefaultLocaleName", 0, reinterpret_cast<FARPROC>(&GetSystemDefaultLocaleName)},
         {"LocaleNameToLCID", 0, reinterpret_cast<FARPROC>(&LocaleNameToLCID)}});
  });
}

}  // namespace ce

// Gathering a locale's data from ICU, and the pattern rewrite into the device's letters.
#include "platform/locale_data.h"

#include <unicode/udat.h>
#include <unicode/uloc.h>
#include <unicode/unum.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>

#include "platform/last_error.h"
#include "platform/locale_ids.h"
#include "platform/utf8.h"

namespace ce {
namespace {

// Short date pictures of the device where its locale data differs from the derivation rule.
struct PictureOverride {
  const char* icuLocale;
  const char16_t* shortDate;
};
constexpr PictureOverride kShortDateOverrides[] = {
    {"es_ES", u"dd/MM/yyyy"},
};

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

}  // namespace

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

int CopyLocaleText(std::u16string_view text, LPWSTR out, int count) {
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

std::u16string LocaleNumber(int n) {
  return Utf8ToUtf16(std::to_string(n));
}

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

}  // namespace ce

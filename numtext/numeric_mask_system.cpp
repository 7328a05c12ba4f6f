// System masks and the device's number values.
#include "numtext/numeric_mask_system.h"

#include <algorithm>

#include "datetime/locale_items.h"
#include "platform/locale_ids.h"
#include "platform/strings.h"

namespace tq {
namespace {

constexpr std::u16string_view kDigitPlaces = u"99 999 999 999 999 999";  // 17 places
constexpr size_t kMaxSymbolUnits = 32;

int SmallNumber(std::u16string_view text) {
  int n = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    n = std::min(n * 10 + (c - u'0'), 1000);
  }
  return n;
}

std::u16string Decimals(intptr_t count) {
  if (count <= 0) return std::u16string();
  return u"," + std::u16string(static_cast<size_t>(std::min<intptr_t>(count, 64)), u'9');
}

// Replaces the "%s" of a pattern with `mask`.
std::u16string Wrap(std::u16string_view pattern, std::u16string_view mask) {
  const size_t at = pattern.find(u"%s");
  std::u16string out(pattern.substr(0, at));
  out += mask;
  out += pattern.substr(at + 2);
  return out;
}

std::u16string DecorateByPositiveOrder(int order, std::u16string_view mask) {
  static constexpr std::u16string_view kOrders[] = {u"$%s", u"%s$", u"$ %s", u"%s $"};
  if (order >= 0 && order < 4) return Wrap(kOrders[order], mask);
  return std::u16string(mask) + u" $";
}

std::u16string DeviceSystemMask(bool money, bool withSymbol) {
  const int decimals =
      SmallNumber(LocaleItem(money ? localeitem::kCurrencyDigits : localeitem::kNumberDigits, u"0"));
  std::u16string mask = u"+" + std::u16string(kDigitPlaces) + Decimals(decimals);
  if (!withSymbol) return mask;
  std::u16string negativeOrder = LocaleItem(localeitem::kNegativeCurrency, u"8");
  if (negativeOrder.empty()) negativeOrder = u"8";
  const int positiveOrder = SmallNumber(LocaleItem(localeitem::kCurrencyOrder, u"3"));
  if (SmallNumber(negativeOrder) == 0) {
    mask.erase(0, 1);
    return DecorateByPositiveOrder(positiveOrder, mask) + u";" +
           DecorateByPositiveOrder(positiveOrder, u"(" + mask + u")");
  }
  return DecorateByPositiveOrder(positiveOrder, mask);
}

std::u16string WithoutChars(std::u16string_view text, std::u16string_view drop) {
  std::u16string out;
  for (char16_t c : text)
    if (drop.find(c) == std::u16string_view::npos) out += c;
  return out;
}

}  // namespace

const DeviceNumberValues& DeviceNumbers() {
  static const DeviceNumberValues values = [] {
    DeviceNumberValues v;
    const std::u16string thousands = LocaleItem(localeitem::kThousand, u" ");
    const std::u16string decimal = LocaleItem(localeitem::kDecimal, u",");
    v.thousands = thousands.empty() ? u' ' : thousands[0];
    v.decimal = decimal.empty() ? u',' : decimal[0];
    v.symbol = LocaleItem(localeitem::kCurrencySymbol, std::u16string_view(&kDefaultCurrencySymbol, 1));
    if (v.symbol.empty()) v.symbol = kDefaultCurrencySymbol;
    if (v.symbol.size() > kMaxSymbolUnits) v.symbol.resize(kMaxSymbolUnits);
    return v;
  }();
  return values;
}

std::u16string CurrencyMaskFromRecord(const CurrencyFormatRecord& record) {
  static constexpr std::u16string_view kNegative[] = {
      u"($%s)", u"-$%s",  u"$-%s",  u"$%s-",  u"(%s$)", u"-%s$",  u"%s-$",   u"%s$-",
      u"-%s $", u"-$ %s", u"%s $-", u"$ %s-", u"$ -%s", u"%s- $", u"($ %s)", u"(%s $)"};
  const std::u16string base = std::u16string(kDigitPlaces) + Decimals(record.decimals);
  const intptr_t p = record.positiveOrder;
  const std::u16string positive =
      p >= 0 && p < 4 ? DecorateByPositiveOrder(static_cast<int>(p), base) : Wrap(u"$ %s", base);
  const intptr_t n = record.negativeOrder;
  const std::u16string negative = n >= 0 && n < 16 ? Wrap(kNegative[n], base) : std::u16string();
  const std::u16string a = WithoutChars(negative, u"-)( ");
  const std::u16string b = WithoutChars(positive, u" ");
  const bool same =
      ce::CompareStringW(ce::LOCALE_USER_DEFAULT, ce::NORM_IGNORECASE | ce::NORM_IGNORENONSPACE,
                         a.c_str(), static_cast<int>(a.size()), b.c_str(),
                         static_cast<int>(b.size())) == ce::CSTR_EQUAL;
  if (same) {
    std::u16string mask = negative;
    std::replace(mask.begin(), mask.end(), u'-', u'+');
    return mask;
  }
  return positive + u";" + negative;
}

std::u16string SystemMask(const RegionalSettings& settings, bool money, bool withSymbol) {
  const bool follows = money || withSymbol ? CurrencyFollowsSystem(settings)
                                           : NumberFollowsSystem(settings);
  const NumberFormatRecord* number = NumberFormat(settings);
  const CurrencyFormatRecord* currency = CurrencyFormat(settings);
  if (!settings || follows) return DeviceSystemMask(money, withSymbol);
  if (withSymbol) {
    if (currency == nullptr) return DeviceSystemMask(money, withSymbol);
    return CurrencyMaskFromRecord(*currency);
  }
  if (number == nullptr || (money && currency == nullptr)) return DeviceSystemMask(money, false);
  const intptr_t decimals = money ? currency->decimals : number->decimals;
  const std::u16string mask = std::u16string(kDigitPlaces) + Decimals(decimals);
  switch (number->negativeOrder) {
    case 0: return Wrap(u"(%s)", mask);
    case 2: return Wrap(u"+ %s", mask);
    case 3:
    case 4: return Wrap(u"%s +", mask);
    default: return Wrap(u"+%s", mask);
  }
}

}  // namespace tq

// The masks behind the keywords "NumSystemMask", "MoneySystemMask" and "MoneySystemMask$":
// built from the application's regional settings when they do not follow the system, and
// from the device's locale items otherwise; and the three device values (thousands
// character, decimal character, currency symbol) that every mask starts from.
#pragma once

#include <string>
#include <string_view>

#include "numtext/number_settings.h"

namespace tq {

// Read once per process from the device's locale items and kept: a later change of the
// device settings is not seen.
struct DeviceNumberValues {
  char16_t thousands = u' ';
  char16_t decimal = u',';
  std::u16string symbol;  // at most 32 units
};
const DeviceNumberValues& DeviceNumbers();

// The currency symbol used when the device reports none.
inline constexpr char16_t kDefaultCurrencySymbol = 0x0080;

// The system mask: number decimals, or currency decimals for `money`; with the currency
// symbol placed by the currency orders when `withSymbol`.
std::u16string SystemMask(const RegionalSettings& settings, bool money, bool withSymbol);

// The currency mask written by a currency format record.
std::u16string CurrencyMaskFromRecord(const CurrencyFormatRecord& record);

}  // namespace tq

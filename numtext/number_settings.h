// The number and currency side of the VM's RegionalSettings object (slots 1..8 of the layout
// in datetime/date_mask_settings.h): the records and flags that the numeric masks, the disk
// sizes and the printf-style formats read.
//
// The VM's records hold one pointer-sized word per field (texts are pointers to
// zero-terminated UTF-16, null for an empty text). Fields the library does not read keep
// their places so that the numbered fields stay where the VM puts them. A null settings
// reference answers "follows the system" and gives no records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date_mask_settings.h"

namespace tq {

namespace numberslot {
inline constexpr int kThousandsIsNoBreakSpace = 1;
inline constexpr int kCurrentNumberFormat = 2;
inline constexpr int kNumberFormat = 3;
inline constexpr int kCurrencyFormat = 4;
inline constexpr int kNumberFollowsSystem = 5;
inline constexpr int kCurrencyFollowsSystem = 6;
inline constexpr int kSizeUnitsFollowSystem = 7;
inline constexpr int kSizeUnitNames = 8;
}  // namespace numberslot

// Number format: field 0 decimals, 4 decimal separator, 5 thousands separator, 6 negative
// order (0 to 4).
struct NumberFormatRecord {
  intptr_t decimals;
  intptr_t reserved1, reserved2, reserved3;
  const char16_t* decimalSeparator;
  const char16_t* thousandsSeparator;
  intptr_t negativeOrder;
};

// Currency format: field 0 decimals, 3 decimal separator, 4 thousands separator, 5 positive
// order (0 to 3), 6 negative order (0 to 15), 7 currency symbol.
struct CurrencyFormatRecord {
  intptr_t decimals;
  intptr_t reserved1, reserved2;
  const char16_t* decimalSeparator;
  const char16_t* thousandsSeparator;
  intptr_t positiveOrder;
  intptr_t negativeOrder;
  const char16_t* symbol;
};

// Reads of the number slots; every one answers "none" on a null reference.
bool ThousandsIsNoBreakSpace(const RegionalSettings& r);
const NumberFormatRecord* CurrentNumberFormat(const RegionalSettings& r);
const NumberFormatRecord* NumberFormat(const RegionalSettings& r);
const CurrencyFormatRecord* CurrencyFormat(const RegionalSettings& r);
bool NumberFollowsSystem(const RegionalSettings& r);
bool CurrencyFollowsSystem(const RegionalSettings& r);
bool SizeUnitsFollowSystem(const RegionalSettings& r);
std::u16string_view SizeUnitNames(const RegionalSettings& r);

// The first character of a separator text, 0 when the text is empty.
inline char16_t FirstChar(const char16_t* text) { return text != nullptr ? text[0] : u'\0'; }

}  // namespace tq

// LocaleItem: the device locale strings the date and number masks read, fetched once with
// GetLocaleInfoW for the system default locale and cached for the process.
//
// Invariants: an entry is cached only after a successful read of a non-empty text of at most
// 15 characters; a longer text is returned but read again next time; a failed read returns the
// caller's default and caches nothing. The cache is written without a lock: two threads that
// fill the same entry write the same text.
#pragma once

#include <string>
#include <string_view>

namespace tq {

namespace localeitem {
inline constexpr int kCurrencyDigits = 0;    // LOCALE_ICURRDIGITS
inline constexpr int kCurrencyOrder = 1;     // LOCALE_ICURRENCY
inline constexpr int kNumberDigits = 2;      // LOCALE_IDIGITS
inline constexpr int kCurrencySymbol = 3;    // LOCALE_SCURRENCY
inline constexpr int kDecimal = 4;           // LOCALE_SDECIMAL
inline constexpr int kShortDate = 5;         // LOCALE_SSHORTDATE
inline constexpr int kThousand = 6;          // LOCALE_STHOUSAND
inline constexpr int kTimeFormat = 7;        // LOCALE_STIMEFORMAT
inline constexpr int kNegativeCurrency = 8;  // LOCALE_INEGCURR
inline constexpr int kCount = 9;
}  // namespace localeitem

// The text of locale item `index` (0..8), or `fallback` when the device cannot say.
std::u16string LocaleItem(int index, std::u16string_view fallback);

// Tests: empties the cache.
void ResetLocaleItemsForTesting();

}  // namespace tq

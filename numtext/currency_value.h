// The VM's currency value (type 10): a 10-byte little-endian two's-complement integer of
// ten-thousandths. Read into a 128-bit integer so that the whole range is exact.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace tq {

using CurrencyUnits = __int128;  // ten-thousandths
inline constexpr int kCurrencyBytes = 10;
inline constexpr int64_t kCurrencyScale = 10000;

inline CurrencyUnits ReadCurrency(const void* storage) {
  unsigned char bytes[16];
  std::memcpy(bytes, storage, kCurrencyBytes);
  const unsigned char fill = (bytes[kCurrencyBytes - 1] & 0x80) ? 0xFF : 0x00;
  std::memset(bytes + kCurrencyBytes, fill, sizeof bytes - kCurrencyBytes);
  CurrencyUnits value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// The decimal digits of a non-negative 128-bit integer.
inline std::u16string DecimalDigits(unsigned __int128 n) {
  char16_t buffer[48];
  size_t at = sizeof buffer / sizeof buffer[0];
  do {
    buffer[--at] = static_cast<char16_t>(u'0' + static_cast<int>(n % 10));
    n /= 10;
  } while (n != 0);
  return std::u16string(buffer + at, buffer + sizeof buffer / sizeof buffer[0]);
}

inline unsigned __int128 Magnitude(CurrencyUnits v) {
  return v < 0 ? static_cast<unsigned __int128>(0) - static_cast<unsigned __int128>(v)
               : static_cast<unsigned __int128>(v);
}

// The value's decimal text: '-' when negative, the integer digits, then '.' and the fraction
// without trailing zeros when it is not zero ("12.35", "-0.5", "7").
inline std::u16string CurrencyText(CurrencyUnits v) {
  const unsigned __int128 m = Magnitude(v);
  std::u16string text = (v < 0 ? u"-" : u"") + DecimalDigits(m / kCurrencyScale);
  int fraction = static_cast<int>(m % kCurrencyScale);
  if (fraction != 0) {
    std::u16string digits = DecimalDigits(static_cast<unsigned __int128>(fraction + kCurrencyScale));
    digits.erase(0, 1);
    while (digits.back() == u'0') digits.pop_back();
    text += u'.';
    text += digits;
  }
  return text;
}

}  // namespace tq

// FormatDirective: the printf-like format language of NumberToString. Width, precision, sign and
// padding flags, a conversion letter, and where the decimal and thousands separators come
// from (the format itself, the device's locale, or the application's regional settings).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tq {

namespace directiveflag {
inline constexpr uint16_t kLeft = 0x0001;
inline constexpr uint16_t kZeroPad = 0x0002;
inline constexpr uint16_t kLong = 0x0004;  // accepted, otherwise ignored
inline constexpr uint16_t kSign = 0x0008;
inline constexpr uint16_t kDeviceThousands = 0x0010;
inline constexpr uint16_t kDeviceDecimal = 0x0020;
inline constexpr uint16_t kCurrency = 0x0040;
inline constexpr uint16_t kInteger64 = 0x0080;
inline constexpr uint16_t kSettingsDecimal = 0x0100;
inline constexpr uint16_t kSettingsThousands = 0x0200;
}  // namespace directiveflag

inline constexpr int32_t kFormatLimit = 100;  // width and precision

struct FormatDirective {
  uint16_t flags = 0;
  char16_t conversion = u'f';  // d e E f x X o O
  int32_t width = 0;
  int32_t precision = 0;
  char16_t decimalChar = 0;    // ',' or none
  char16_t thousandsChar = 0;  // ' ', '.', ',' or none
};

// The format parsed and normalised ('F' -> 'f', 'D' -> 'd', default precision 6 for the
// real conversions, ...); nullopt when the format cannot be read. Width and precision
// saturate far above the limit, so that a long run of digits cannot overflow them.
std::optional<FormatDirective> ParseFormatDirective(std::u16string_view format);

}  // namespace tq

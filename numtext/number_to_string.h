// NumberToString: a value written with a printf-like format (FormatDirective), or through the
// numeric mask keywords "NumSystemMask" and "MoneySystemMask$".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datetime/date_mask_settings.h"
#include "numtext/currency_value.h"
#include "numtext/printf_format.h"

namespace tq {

struct ComponentProxy;

// The value as the entry decoded it from its DynamicValue.
struct NumberArgument {
  uint8_t type = 0;        // the value's type code
  int64_t integer = 0;     // integer codes (1..9, 14) as the code reads them
  double real = 0;         // the value converted to a real
  bool bigInteger = false; // a 64-bit integer above 4294967295
  CurrencyUnits currency = 0;  // code 10
  std::u16string text;     // the value's standard text, when `hasText`
  bool hasText = false;
};

// True for the codes whose value is returned as its text, format ignored.
bool IsTextValueType(uint8_t type);
// True for the codes that an empty format writes as a plain integer.
bool IsPlainIntegerType(uint8_t type);
// True for the two formats that go through the numeric masks.
bool IsKeyword(std::u16string_view format);
// Does the call need the value's standard text? (empty format, mask keyword, text value)
bool NeedsStandardText(uint8_t type, std::u16string_view format);

// The whole algorithm; `settings` are the call's (moved into a mask on the mask path).
// Errors (80270) are raised on `proxy` (when there is one) and give "".
std::u16string NumberToString(const NumberArgument& value, std::u16string_view format,
                              RegionalSettings settings, ComponentProxy* proxy);

// The printf path alone, after parsing and the limit checks.
std::u16string FormatWithDirective(const NumberArgument& value, FormatDirective directive,
                              const RegionalSettings& settings);

}  // namespace tq

// NumberToString: the order of decisions (plain integers, mask keywords, text values, the
// standard text), then the printf path with its repairs and separators (number_grouping.cpp).
#include "numtext/number_to_string.h"

#include <cmath>

#include "frame/raise_error.h"
#include "numtext/number_grouping.h"
#include "numtext/numeric_mask.h"
#include "numtext/printf_render.h"

namespace tq {
namespace {

constexpr uint32_t kBadFormatError = 80270;

std::u16string IntegerText(int64_t n) {
  std::u16string out;
  CConversion c;
  AppendSigned(out, n, c);
  return out;
}

// A nudge of one unit in the 15th significant digit, so that a value stored just below a
// half (2.675 is 2.67499999...) rounds the way it is written.
double Nudged(double v, int precision) {
  if (precision >= 14 || v == 0 || !std::isfinite(v) || v == std::trunc(v)) return v;
  const double m = std::trunc(std::log10(std::fabs(v)));
  const double eps = std::pow(10.0, m) * 1e-15;
  if (eps < 1.0 && m < 14) {
    if (v >= 1e-9) return v + eps;
    if (v <= -1e-9) return v - eps;
  }
  return v;
}

// The real as an unsigned integer of 32 or 64 bits, in two's complement when negative.
uint64_t UnsignedOf(double v, bool wide) {
  int64_t n = 0;
  if (std::isnan(v)) {
    n = 0;
  } else if (v >= 9223372036854775807.0) {
    return wide ? (v >= 18446744073709551615.0 ? UINT64_MAX : static_cast<uint64_t>(v)) : UINT32_MAX;
  } else if (v <= -9223372036854775808.0) {
    n = INT64_MIN;
  } else {
    n = static_cast<int64_t>(v);
  }
  return wide ? static_cast<uint64_t>(n) : static_cast<uint32_t>(static_cast<uint64_t>(n));
}

CConversion ConversionOf(const FormatDirective& directive) {
  CConversion c;
  c.left = directive.flags & directiveflag::kLeft;
  c.sign = directive.flags & directiveflag::kSign;
  c.zero = directive.flags & directiveflag::kZeroPad;
  c.width = directive.width;
  c.precision = directive.precision;
  c.letter = static_cast<char>(directive.conversion == u'O' ? u'o' : directive.conversion);
  return c;
}

// The currency value rounded half away from zero to the precision and written exactly.
std::u16string ExactCurrency(CurrencyUnits value, const FormatDirective& directive) {
  if (directive.precision < 4) {
    int64_t unit = 1;
    for (int i = directive.precision; i < 4; ++i) unit *= 10;
    const unsigned __int128 m = (Magnitude(value) + unit / 2) / unit * unit;
    value = value < 0 ? -static_cast<CurrencyUnits>(m) : static_cast<CurrencyUnits>(m);
  }
  std::u16string text = CurrencyText(value);
  size_t point = text.find(u'.');
  if (point == std::u16string::npos) {
    point = text.size();
    text += u'.';
  }
  while (text.size() - point - 1 < static_cast<size_t>(directive.precision)) text += u'0';
  if ((directive.flags & directiveflag::kSign) && value >= 0) text.insert(text.begin(), u'+');
  const size_t width = static_cast<size_t>(directive.width);
  if (text.size() < width) {
    const bool zero = directive.flags & directiveflag::kZeroPad;
    const size_t at = zero && (text[0] == u'+' || text[0] == u'-') ? 1 : 0;
    text.insert(at, width - text.size(), zero ? u'0' : u' ');
  }
  return text;
}

// Hexadecimal and octal: a negative value cut to the width, and its zero padding read as
// the two's complement it stands for.
void SignFill(std::u16string& text, const FormatDirective& directive) {
  if (directive.width > 0 && text.size() > static_cast<size_t>(directive.width))
    text.erase(0, text.size() - static_cast<size_t>(directive.width));
  if (text.empty() || text[0] != u'0') return;
  const size_t first = text.find_first_not_of(u'0');
  if (first == std::u16string::npos) return;
  const char16_t c = text[first];
  const int digit = c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
  const bool hex = directive.conversion == u'x' || directive.conversion == u'X';
  if (hex ? (digit & 8) == 0 : (digit & 4) == 0) return;
  const char16_t fill = hex ? (directive.conversion == u'x' ? u'f' : u'F') : u'7';
  for (size_t i = 0; i < first; ++i) text[i] = fill;
}

}  // namespace

bool IsKeyword(std::u16string_view format) {
  return format == u"NumSystemMask" || format == u"MoneySystemMask$";
}

bool IsTextValueType(uint8_t type) {
  return type == 16 || type == 18 || type == 19 || type == 110;
}

bool IsPlainIntegerType(uint8_t type) {
  switch (type) {
    case 1: case 2: case 3: case 6: case 7: case 8: case 14:
      return true;
    default:
      return false;
  }
}

bool NeedsStandardText(uint8_t type, std::u16string_view format) {
  return format.empty() || IsKeyword(format) || IsTextValueType(type) || type == 28;
}

std::u16string FormatWithDirective(const NumberArgument& value, FormatDirective directive,
                              const RegionalSettings& settings) {
  const bool currency = value.type == 10;
  if (currency) directive.flags |= directiveflag::kCurrency;
  if (directive.conversion == u'd') {
    if (value.bigInteger) {
      directive.flags |= directiveflag::kInteger64;
    } else {
      directive.conversion = u'f';
      directive.precision = 0;
    }
  }
  const double v = Nudged(value.real, directive.precision);
  const CConversion c = ConversionOf(directive);
  std::u16string text;
  text.reserve(static_cast<size_t>(directive.width) + 32);
  switch (directive.conversion) {
    case u'd':
      AppendSigned(text, value.integer, c);
      break;
    case u'x': case u'X': case u'o': case u'O': {
      const bool wide = currency || value.type == 5 || value.type == 9 ||
                        (value.type == 4 && directive.conversion == u'X');
      AppendUnsigned(text, UnsignedOf(v, wide), c);
      if (v < 0) SignFill(text, directive);
      return text;  // no decimal point and no grouping
    }
    default:
      if (currency && directive.width > 17 && directive.precision > 0 && directive.conversion == u'f')
        text = ExactCurrency(value.currency, directive);
      else
        AppendReal(text, v, c);
  }
  RemovePaddingZeroAfterSign(text, directive);
  PlaceSeparators(text, directive, settings);
  return text;
}

std::u16string NumberToString(const NumberArgument& value, std::u16string_view format,
                              RegionalSettings settings, ComponentProxy* proxy) {
  if (format.empty() && IsPlainIntegerType(value.type)) return IntegerText(value.integer);
  if (IsKeyword(format)) {
    NumericMask mask(format);
    if (settings) mask.ApplyRegionalSettings(std::move(settings), 0);
    return mask.Format(value.text);
  }
  if (IsTextValueType(value.type)) return value.text;
  if (format.empty()) {
    if (value.type == 0) return std::u16string();
    std::u16string text = value.text;
    if (!text.empty() && text.back() == u'.') text.pop_back();
    return text;
  }
  const std::optional<FormatDirective> directive = ParseFormatDirective(format);
  if (!directive || directive->width > kFormatLimit || directive->precision > kFormatLimit) {
    if (proxy != nullptr) RaiseError(proxy, kBadFormatError);
    return std::u16string();
  }
  return FormatWithDirective(value, *directive, settings);
}

}  // namespace tq

// The VM's conversions between types (behind nConversionDepassementExt): texts read as
// numbers the way the VM reads them, numbers written as text, ranges checked.
#include <charconv>
#include <cmath>

#include "host/vm_objects.h"

namespace tqhost {
namespace {

// A number as the VM reads one from text: spaces around it and a leading '+' allowed; a comma
// stands for the decimal point. The whole text must be the number.
template <typename Number>
std::optional<Number> ParseNumber(std::u16string_view text) {
  std::string narrow = ToUtf8(text);
  size_t b = 0, e = narrow.size();
  while (b < e && narrow[b] == ' ') ++b;
  while (e > b && narrow[e - 1] == ' ') --e;
  if (b < e && narrow[b] == '+') ++b;
  for (char& c : narrow)
    if (c == ',') c = '.';
  Number n{};
  auto [end, ec] = std::from_chars(narrow.data() + b, narrow.data() + e, n);
  if (ec != std::errc() || end != narrow.data() + e || b == e) return std::nullopt;
  return n;
}

}  // namespace

std::optional<HostValue> ConvertValue(const HostValue& source, uint32_t code) {
  const uint8_t target = static_cast<uint8_t>(code & 0xff);
  // 8-bit text converts as the text it holds.
  const HostValue value = source.kind == ValueKind::kAnsiText
                              ? HostValue::Text(DecodeAnsi(source.bytes), source.typeCode)
                              : source;
  if (target == 110) {  // the VM's text object: any value with a text form
    std::optional<HostValue> text = ConvertValue(value, 122);
    if (text) text->typeCode = code;
    return text;
  }
  const bool numeric = value.kind == ValueKind::kInteger || value.kind == ValueKind::kInteger64 ||
                       value.kind == ValueKind::kBoolean || value.kind == ValueKind::kDuration;
  if (IsTextCode(target)) {
    if (value.kind == ValueKind::kText || value.kind == ValueKind::kNullText)
      return HostValue::Text(value.text, code);
    if (value.kind == ValueKind::kReal) return HostValue::Text(FromUtf8(ShortestReal(value.real)), code);
    if (value.kind == ValueKind::kCurrency)
      return HostValue::Text(FromUtf8(CurrencyText(value.integer)), code);
    if (value.kind == ValueKind::kBoolean) return HostValue::Text(value.integer ? u"1" : u"0", code);
    if (numeric) return HostValue::Text(FromUtf8(std::to_string(value.integer)), code);
    if (value.kind == ValueKind::kDate || value.kind == ValueKind::kTime ||
        value.kind == ValueKind::kDateTime)
      return HostValue::Text(value.text, code);
    return std::nullopt;
  }
  std::optional<double> real;
  std::optional<int64_t> integer;
  if (value.kind == ValueKind::kText || value.kind == ValueKind::kNullText) {
    integer = ParseNumber<int64_t>(value.text);
    real = integer ? std::optional<double>(static_cast<double>(*integer)) : ParseNumber<double>(value.text);
    if (!real) return std::nullopt;
  } else if (value.kind == ValueKind::kReal) {
    real = value.real;
  } else if (value.kind == ValueKind::kCurrency) {
    real = value.integer / 10000.0;
  } else if (numeric) {
    integer = value.integer;
    real = static_cast<double>(value.integer);
  } else {
    return std::nullopt;
  }
  // Reals beyond the 64-bit range have no integer form.
  const bool fits = integer || (std::isfinite(*real) && std::fabs(*real) < 9.2e18);
  const int64_t whole = integer ? *integer : fits ? static_cast<int64_t>(std::trunc(*real)) : 0;
  if (!fits && target != 12 && target != 1) return std::nullopt;
  switch (target) {
    case 1:
      return HostValue::Boolean(*real != 0, code);
    case 2: case 3: case 4: case 6: case 7: case 8: case 11:
      if (whole < INT32_MIN || whole > INT32_MAX) return std::nullopt;
      return HostValue::Integer(static_cast<int32_t>(whole), code);
    case 5: case 9: case 29:
      return HostValue::Integer64(whole, code);
    case 12:
      return HostValue::Real(*real, code);
    case 27: {
      HostValue v = HostValue::Integer64(whole, code);
      v.kind = ValueKind::kDuration;
      return v;
    }
    case 10: {
      HostValue v;
      v.kind = ValueKind::kCurrency;
      v.typeCode = code;
      if (std::fabs(*real) >= 9.2e14) return std::nullopt;
      v.integer = static_cast<int64_t>(std::llround(*real * 10000));
      return v;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace tqhost

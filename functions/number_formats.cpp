// Implementation entry of NumberToString: the value is read from its DynamicValue (a copy is
// converted, never the caller's value), then written by the numtext worker.
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "numtext/number_to_string.h"

namespace tq::entries {
namespace {

int64_t IntegerPayload(const DynamicValue& v) {
  const unsigned char* p = v.payload;
  switch (v.type()) {
    case 2: return p[0];
    case 3: { uint16_t n; std::memcpy(&n, p, 2); return n; }
    case 6: return static_cast<int8_t>(p[0]);
    case 7: { int16_t n; std::memcpy(&n, p, 2); return n; }
    case 5: case 9: { int64_t n; std::memcpy(&n, p, 8); return n; }
    case 1: case 4: case 8: case 14: case 15: { int32_t n; std::memcpy(&n, p, 4); return n; }
    default: return 0;
  }
}

bool IsDirectNumber(uint8_t t) {
  return (t >= 1 && t <= 9) || t == 11 || t == 12 || t == 14 || t == 15;
}

// The real of a copy of the value converted by the VM; false when it has none.
bool ConvertedReal(const DynamicValue& v, double& out) {
  DynamicValue copy;
  CallHandler(const_cast<DynamicValue&>(v), handler::kCopyTo, &copy);
  if (Convert(copy, 12) >= 100 || copy.type() != 12) return false;
  out = RealOf(copy);
  return true;
}

// A real written in plain decimal, as the mask engine reads numbers.
std::u16string PlainDecimal(double x) {
  char buffer[400];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed);
  return std::u16string(buffer, r.ptr);
}

std::u16string StandardText(const DynamicValue& v) {
  const uint8_t t = v.type();
  if (t == 24 || t == 25 || t == 28) return std::u16string(TextOf(v));
  if (t == 12) {
    const double x = RealOf(v);
    if (std::isfinite(x)) {
      DynamicValue copy;
      CallHandler(const_cast<DynamicValue&>(v), handler::kCopyTo, &copy);
      Convert(copy, 28);
      std::u16string text(TextOf(copy));
      if (text.find_first_of(u"eE") != std::u16string::npos) text = PlainDecimal(x);
      return text;
    }
  }
  if (t == 10) return CurrencyText(ReadCurrency(v.payload));
  DynamicValue copy;
  CallHandler(const_cast<DynamicValue&>(v), handler::kCopyTo, &copy);
  if (Convert(copy, 28) >= 100) return std::u16string();
  return std::u16string(TextOf(copy));
}

NumberArgument ReadArgument(const DynamicValue& v, std::u16string_view format) {
  NumberArgument a;
  a.type = v.type();
  a.integer = IntegerPayload(v);
  if (a.type == 10) {
    a.currency = ReadCurrency(v.payload);
    a.real = static_cast<double>(a.currency) / kCurrencyScale;
  } else if (a.type == 12) {
    a.real = RealOf(v);
  } else if (IsDirectNumber(a.type)) {
    a.real = static_cast<double>(a.integer);
  } else if (!ConvertedReal(v, a.real) && a.type == 28) {
    a.type = 16;  // a text that is no number is written as it stands
  }
  a.bigInteger = (a.type == 5 || a.type == 9) && a.real > 4294967295.0;
  if (NeedsStandardText(a.type, format)) {
    a.text = StandardText(v);
    a.hasText = true;
  }
  return a;
}

int32_t Run(CallContext* context, ComponentProxy* proxy, const DynamicValue& value,
            std::u16string_view format) {
  const NumberArgument a = ReadArgument(value, format);
  const std::u16string text =
      NumberToString(a, format, RegionalSettings::OfCall(context), proxy);
  LocalString result;
  result.assign(text);
  SetResult(context, result.address(), typecode::kText);
  return 0;
}

}  // namespace

TQ_ENTRY(NumberToString_Value) { return Run(context, proxy, *DynamicArgument(args, 0), u""); }

TQ_ENTRY(NumberToString_Format) {
  const char16_t* format = TextArgument(args, 1);
  return Run(context, proxy, *DynamicArgument(args, 0),
             format != nullptr ? std::u16string_view(format) : std::u16string_view());
}

}  // namespace tq::entries

// Reading VM payloads into host values, building DynamicValues from them, and the VM's
// conversions between types.
#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>
#include <mutex>

#include "frame/dynamic_value.h"
#include "frame/vm_string.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

bool IsTextCode(uint8_t code) {
  switch (code) {
    case 16: case 28: case 110: case 121: case 122: case 126: case 127: case 130: case 131:
      return true;
    default:
      return false;
  }
}

std::u16string DigitsOf(int64_t packed, int width) {
  std::string digits = std::to_string(packed < 0 ? -packed : packed);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return FromUtf8(digits);
}

int64_t Currency10(const void* storage) {
  // Ten bytes, little-endian two's complement: the low eight carry every value we render.
  int64_t low;
  std::memcpy(&low, storage, 8);
  return low;
}

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

std::mutex gTextsMutex;
std::deque<std::u16string> gTexts;  // handle n is gTexts[n - 1]

HostValue BytesAt(const void* storage, size_t count, uint32_t code) {
  HostValue v;
  v.kind = ValueKind::kBuffer;
  v.typeCode = code;
  v.bytes.assign(static_cast<const char*>(storage), count);
  return v;
}

}  // namespace

uint32_t KeepVMText(std::u16string text) {
  std::lock_guard lock(gTextsMutex);
  gTexts.push_back(std::move(text));
  return static_cast<uint32_t>(gTexts.size());
}

std::u16string VMTextOf(uint32_t handle) {
  std::lock_guard lock(gTextsMutex);
  return handle >= 1 && handle <= gTexts.size() ? gTexts[handle - 1] : std::u16string();
}

HostValue ReadDynamicPayload(const tq::DynamicValue& d) {
  HostValue inner;
  if (d.type() == 0) {
    inner.kind = ValueKind::kNullText;
  } else if (d.type() == 28) {
    inner = ReadBufferPayload(d.payload);
  } else {
    inner = ReadPayload(d.payload, d.type());
  }
  inner.typeCode = d.type();
  inner.valueType = d.type();
  return inner;
}

HostValue ReadPayload(const void* storage, uint32_t code) {
  const uint8_t base = static_cast<uint8_t>(code & 0xff);
  HostValue v;
  v.typeCode = code;
  if (base == 0) return v;
  if (IsTextCode(base)) {
    const tq::VMString* s = static_cast<const tq::VMString*>(storage);
    if (s == nullptr || s->chars == nullptr) {
      v.kind = storage == nullptr ? ValueKind::kNullText : ValueKind::kText;
      return v;
    }
    v.kind = ValueKind::kText;
    v.text = std::u16string(tq::View(*s));
    return v;
  }
  if (storage == nullptr) {
    v.kind = ValueKind::kNullText;
    return v;
  }
  switch (base) {
    case 1:
      v.kind = ValueKind::kBoolean;
      v.integer = *static_cast<const int32_t*>(storage) != 0;
      return v;
    case 9:
    case 5:
    case 29:
      v.kind = ValueKind::kInteger64;
      std::memcpy(&v.integer, storage, 8);
      return v;
    case 12:
      v.kind = ValueKind::kReal;
      std::memcpy(&v.real, storage, 8);
      return v;
    case 10:
      v.kind = ValueKind::kCurrency;
      v.integer = Currency10(storage);
      return v;
    case 14:
    case 15:
      v.kind = ValueKind::kInteger64;
      v.integer = static_cast<int64_t>(*static_cast<const intptr_t*>(storage));
      return v;
    case 24:
    case 25: {
      const char16_t* chars = static_cast<const char16_t*>(storage);
      const size_t limit = base == 24 ? 8 : 9;
      size_t n = 0;
      while (n < limit && chars[n] != 0) ++n;
      v.kind = base == 24 ? ValueKind::kDate : ValueKind::kTime;
      v.text.assign(chars, n);
      return v;
    }
    case 26: {
      int64_t packed;
      std::memcpy(&packed, storage, 8);
      v.kind = ValueKind::kDateTime;
      v.text = DigitsOf(packed, 17);
      return v;
    }
    case 27:
    case 132:  // the duration SharedZoneWait declares
      v.kind = ValueKind::kDuration;
      std::memcpy(&v.integer, storage, 8);
      return v;
    case 19: {
      const char* bytes = *static_cast<const char* const*>(storage);
      v.kind = ValueKind::kAnsiText;
      if (bytes != nullptr) v.bytes = bytes;
      return v;
    }
    case 110: {
      uint32_t handle;
      std::memcpy(&handle, storage, 4);
      v.kind = ValueKind::kText;
      v.text = VMTextOf(handle);
      return v;
    }
    case 154:
      return BytesAt(storage, 16, code);
    case 155:
      return BytesAt(storage, 32, code);
    case 31: {
      HostValue inner = ReadDynamicPayload(*static_cast<const tq::DynamicValue*>(storage));
      inner.typeCode = code;
      return inner;
    }
    case 140: {
      v.kind = ValueKind::kArray;
      tq::VMObject* array = *static_cast<tq::VMObject* const*>(storage);
      if (const std::vector<HostValue>* elements = ArrayElements(array)) v.elements = *elements;
      return v;
    }
    default:
      v.kind = ValueKind::kInteger;
      v.integer = *static_cast<const int32_t*>(storage);
      return v;
  }
}

HostValue ReadBufferPayload(const void* storage) {
  HostValue v;
  v.kind = ValueKind::kBuffer;
  v.typeCode = 28;
  const tq::VMString* s = static_cast<const tq::VMString*>(storage);
  if (s != nullptr && s->chars != nullptr)
    v.bytes.assign(reinterpret_cast<const char*>(s->chars), tq::HeaderOf(s->chars)->lengthBytes);
  return v;
}

int32_t AssignBuffer(tq::VMString& s, std::string_view bytes) {
  tq::Release(s);
  if (bytes.empty()) return 0;
  const uint32_t size = static_cast<uint32_t>(bytes.size());
  const int32_t code = tq::CallSlot<int32_t>(tq::CurrentAllocator(), tq::vmallocator::kAllocate,
                                             &s, size, 0);
  if (code != 0) return code;
  std::memcpy(s.chars, bytes.data(), size);
  std::memset(reinterpret_cast<char*>(s.chars) + size, 0, 2);
  tq::HeaderOf(s.chars)->lengthBytes = size;
  return 0;
}

int32_t FillDynamic(const HostValue& value, tq::DynamicValue& out) {
  switch (value.kind) {
    case ValueKind::kNone:
      tq::SetType(out, 0);
      return 0;
    case ValueKind::kText:
    case ValueKind::kNullText:
      return tq::SetText(out, value.text);
    case ValueKind::kInteger:
      tq::SetInteger(out, static_cast<int32_t>(value.integer));
      return 0;
    case ValueKind::kBoolean:
      tq::SetBoolean(out, value.integer != 0);
      return 0;
    case ValueKind::kReal:
      tq::SetReal(out, value.real);
      return 0;
    case ValueKind::kInteger64:
    case ValueKind::kDuration:
    case ValueKind::kCurrency: {
      const uint32_t code = value.kind == ValueKind::kInteger64 ? 9
                            : value.kind == ValueKind::kDuration ? 27
                                                                 : 10;
      tq::SetType(out, code);
      std::memcpy(out.payload, &value.integer, 8);
      if (code == 10 && value.integer < 0) std::memset(out.payload + 8, 0xff, 2);
      return 0;
    }
    case ValueKind::kDate:
    case ValueKind::kTime: {
      tq::SetType(out, value.kind == ValueKind::kDate ? 24 : 25);
      std::u16string text = value.text;
      return tq::CallHandler(out, tq::handler::kAssign, text.data());
    }
    case ValueKind::kDateTime: {
      tq::SetType(out, 26);
      int64_t packed = 0;
      for (char16_t c : value.text) packed = packed * 10 + (c - u'0');
      std::memcpy(out.payload, &packed, 8);
      return 0;
    }
    case ValueKind::kAnsiText:
      return tq::SetText(out, DecodeAnsi(value.bytes));
    case ValueKind::kBuffer:
      tq::SetType(out, 28);
      return AssignBuffer(*reinterpret_cast<tq::VMString*>(out.payload), value.bytes);
    case ValueKind::kArray:
    case ValueKind::kProcedure:
    case ValueKind::kControl:
      return tq::kValueNotSupported;
  }
  return tq::kValueNotSupported;
}

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

// Argument forms and their acceptance by parameter types.
#include "host/arguments.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "frame/vm_array.h"
#include "host/json.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

enum class ParamClass { kText, kInteger, kInteger64, kReal, kBoolean, kCurrency, kDynamic,
                        kReference, kArray, kDate, kTime, kDateTime, kDuration, kWord };

ParamClass ClassOf(uint32_t code) {
  if ((code & 0xffff) == 0x8050) return ParamClass::kReference;
  switch (code & 0xff) {
    case 122: case 127: case 131: case 16: case 28: case 121: case 126: case 130:
      return ParamClass::kText;
    case 1: return ParamClass::kBoolean;
    case 2: case 3: case 4: case 6: case 7: case 8: case 11: case 14: case 15:
      return ParamClass::kInteger;
    case 5: case 9: case 29: return ParamClass::kInteger64;
    case 12: return ParamClass::kReal;
    case 10: return ParamClass::kCurrency;
    case 31: return ParamClass::kDynamic;
    case 80: return ParamClass::kReference;
    case 140: return ParamClass::kArray;
    case 24: return ParamClass::kDate;
    case 25: return ParamClass::kTime;
    case 26: return ParamClass::kDateTime;
    case 27: return ParamClass::kDuration;
    default: return ParamClass::kWord;
  }
}

std::optional<int64_t> ReadInteger(std::string_view s) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  int64_t n = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return n;
}

std::optional<double> ReadReal(std::string_view s) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  double x = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), x);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(x))
    return std::nullopt;
  return x;
}

std::optional<bool> ReadBoolean(std::string_view s) {
  if (s == "true") return true;
  if (s == "false") return false;
  return std::nullopt;
}

bool AllDigits(std::string_view s, size_t length) {
  if (s.size() != length) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// e: text: \t \r \n \\ and \uXXXX (one UTF-16 unit, surrogates included).
std::optional<std::u16string> Unescape(std::string_view s, std::string* error) {
  std::u16string out;
  std::string pending;  // UTF-8 not yet converted
  auto flush = [&] {
    out += FromUtf8(pending);
    pending.clear();
  };
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      pending += s[i];
      continue;
    }
    if (i + 1 == s.size()) {
      *error = "e: text ends with a lone backslash";
      return std::nullopt;
    }
    const char e = s[++i];
    switch (e) {
      case 't': pending += '\t'; break;
      case 'r': pending += '\r'; break;
      case 'n': pending += '\n'; break;
      case '\\': pending += '\\'; break;
      case 'u': {
        unsigned unit = 0;
        const char* first = s.data() + i + 1;
        if (s.size() - (i + 1) < 4) {
          *error = "\\u needs four hexadecimal digits";
          return std::nullopt;
        }
        auto [end, ec] = std::from_chars(first, first + 4, unit, 16);
        if (ec != std::errc() || end != first + 4) {
          *error = "\\u needs four hexadecimal digits";
          return std::nullopt;
        }
        flush();
        out += static_cast<char16_t>(unit);
        i += 4;
        break;
      }
      default:
        *error = std::string("unknown escape \\") + e;
        return std::nullopt;
    }
  }
  flush();
  return out;
}

std::optional<HostValue> FromJson(const JsonValue& j, std::string* error, int depth = 0) {
  switch (j.kind) {
    case JsonValue::Kind::kNumber:
      if (j.integral && j.integer >= INT32_MIN && j.integer <= INT32_MAX)
        return HostValue::Integer(static_cast<int32_t>(j.integer));
      return HostValue::Real(j.number);
    case JsonValue::Kind::kString:
      return HostValue::Text(FromUtf8(j.text));
    case JsonValue::Kind::kBoolean:
      return HostValue::Boolean(j.boolean);
    case JsonValue::Kind::kArray: {
      if (depth > 0) {
        *error = "nested arrays are not VM values";
        return std::nullopt;
      }
      HostValue v;
      v.kind = ValueKind::kArray;
      v.typeCode = tq::kArrayTypeCode;
      for (const JsonValue& e : j.elements) {
        std::optional<HostValue> element = FromJson(e, error, depth + 1);
        if (!element) return std::nullopt;
        v.elements.push_back(std::move(*element));
      }
      return v;
    }
    default:
      *error = "j: takes an array, a number, a string or a boolean";
      return std::nullopt;
  }
}

HostValue PlainAsDynamic(std::string_view word) {
  if (std::optional<int64_t> n = ReadInteger(word); n && *n >= INT32_MIN && *n <= INT32_MAX)
    return HostValue::Integer(static_cast<int32_t>(*n));
  if (std::optional<double> x = ReadReal(word)) return HostValue::Real(*x);
  return HostValue::Text(FromUtf8(word));
}

}  // namespace

std::optional<Argument> ParseArgument(std::string_view word, const KeptValues& kept,
                                      std::string* error) {
  Argument a;
  if (!word.empty() && word[0] == '&') {
    a.form = Argument::Form::kReference;
    a.name = std::string(word.substr(1));
    if (a.name.empty()) {
      *error = "& needs a variable name";
      return std::nullopt;
    }
    auto it = kept.find(a.name);
    a.value = it != kept.end() ? it->second : HostValue::Text(u"", 16);
    return a;
  }
  if (!word.empty() && word[0] == '$') {
    auto it = kept.find(std::string(word.substr(1)));
    if (it == kept.end()) {
      *error = "no value is kept under " + std::string(word.substr(1));
      return std::nullopt;
    }
    a.form = Argument::Form::kTyped;
    a.value = it->second;
    return a;
  }
  const size_t colon = word.find(':');
  const std::string_view prefix = colon == 1 ? word.substr(0, 1) : std::string_view();
  const std::string_view body = colon == 1 ? word.substr(2) : word;
  a.form = Argument::Form::kTyped;
  if (prefix == "s") {
    a.value = HostValue::Text(FromUtf8(body));
  } else if (prefix == "e") {
    std::optional<std::u16string> text = Unescape(body, error);
    if (!text) return std::nullopt;
    a.value = HostValue::Text(*text);
  } else if (prefix == "i") {
    std::optional<int64_t> n = ReadInteger(body);
    if (!n || *n < INT32_MIN || *n > INT32_MAX) {
      *error = "i: takes a 4-byte integer, not " + std::string(body);
      return std::nullopt;
    }
    a.value = HostValue::Integer(static_cast<int32_t>(*n));
  } else if (prefix == "l") {
    std::optional<int64_t> n = ReadInteger(body);
    if (!n) {
      *error = "l: takes an 8-byte integer, not " + std::string(body);
      return std::nullopt;
    }
    a.value = HostValue::Integer64(*n);
  } else if (prefix == "r") {
    std::optional<double> x = ReadReal(body);
    if (!x) {
      *error = "r: takes a real, not " + std::string(body);
      return std::nullopt;
    }
    a.value = HostValue::Real(*x);
  } else if (prefix == "b") {
    std::optional<bool> b = ReadBoolean(body);
    if (!b) {
      *error = "b: takes true or false";
      return std::nullopt;
    }
    a.value = HostValue::Boolean(*b);
  } else if (prefix == "c") {
    std::optional<int64_t> c = ParseCurrency(body);
    if (!c) {
      *error = "c: takes a decimal number, not " + std::string(body);
      return std::nullopt;
    }
    a.value.kind = ValueKind::kCurrency;
    a.value.typeCode = 10;
    a.value.integer = *c;
  } else if (prefix == "x") {
    std::optional<std::string> bytes = ParseHex(body);
    if (!bytes) {
      *error = "x: takes hexadecimal bytes (an even count of 0-9, a-f)";
      return std::nullopt;
    }
    a.value.kind = ValueKind::kBuffer;
    a.value.bytes = std::move(*bytes);
  } else if (prefix == "n") {
    if (!body.empty()) {
      *error = "n: takes nothing after the colon";
      return std::nullopt;
    }
    a.value.kind = ValueKind::kNullText;
    a.value.typeCode = 122;
  } else if (prefix == "j") {
    JsonError json;
    std::optional<JsonValue> parsed = ParseJson(body, &json);
    if (!parsed) {
      *error = "j: " + json.message + " at offset " + std::to_string(json.offset);
      return std::nullopt;
    }
    std::optional<HostValue> value = FromJson(*parsed, error);
    if (!value) return std::nullopt;
    a.value = std::move(*value);
  } else {
    a.form = Argument::Form::kPlain;
    a.plain = std::string(word);
  }
  return a;
}

bool Accepts(uint32_t code, const Argument& a) {
  const ParamClass param = ClassOf(code);
  if (a.form == Argument::Form::kReference) return param == ParamClass::kReference;
  if (param == ParamClass::kReference) return true;  // any value can be passed by reference
  if (a.form == Argument::Form::kPlain) {
    const std::string& w = a.plain;
    switch (param) {
      case ParamClass::kText:
      case ParamClass::kDynamic:
        return true;
      case ParamClass::kInteger:
      case ParamClass::kWord: {
        std::optional<int64_t> n = ReadInteger(w);
        return n && *n >= INT32_MIN && *n <= INT32_MAX;
      }
      case ParamClass::kInteger64:
      case ParamClass::kDuration:
        return ReadInteger(w).has_value();
      case ParamClass::kReal:
        return ReadReal(w).has_value();
      case ParamClass::kBoolean:
        return ReadBoolean(w).has_value();
      case ParamClass::kCurrency:
        return ParseCurrency(w).has_value();
      case ParamClass::kDate:
        return AllDigits(w, 8);
      case ParamClass::kTime:
        return AllDigits(w, 9) || AllDigits(w, 6);
      case ParamClass::kDateTime:
        return AllDigits(w, 17) || AllDigits(w, 14);
      default:
        return false;
    }
  }
  const ValueKind k = a.value.kind;
  switch (param) {
    case ParamClass::kDynamic:
      return k != ValueKind::kArray && k != ValueKind::kBuffer;
    case ParamClass::kText:
      // Buffer parameters (28) are VMStrings too; they take `x:` bytes as well as texts.
      return k == ValueKind::kText || k == ValueKind::kNullText ||
             (k == ValueKind::kBuffer && (code & 0xff) == 28);
    case ParamClass::kInteger:
    case ParamClass::kWord:
      return k == ValueKind::kInteger;
    case ParamClass::kInteger64:
      return k == ValueKind::kInteger64;
    case ParamClass::kReal:
      return k == ValueKind::kReal;
    case ParamClass::kBoolean:
      return k == ValueKind::kBoolean;
    case ParamClass::kCurrency:
      return k == ValueKind::kCurrency;
    case ParamClass::kArray:
      return k == ValueKind::kArray;
    case ParamClass::kDate:
      return k == ValueKind::kDate;
    case ParamClass::kTime:
      return k == ValueKind::kTime;
    case ParamClass::kDateTime:
      return k == ValueKind::kDateTime;
    case ParamClass::kDuration:
      return k == ValueKind::kDuration || k == ValueKind::kInteger64;
    default:
      return false;
  }
}

HostValue ValueForParameter(uint32_t code, const Argument& a) {
  if (a.form != Argument::Form::kPlain) return a.value;
  const std::string& w = a.plain;
  switch (ClassOf(code)) {
    case ParamClass::kText:
      return HostValue::Text(FromUtf8(w));
    case ParamClass::kInteger:
    case ParamClass::kWord:
      return HostValue::Integer(static_cast<int32_t>(*ReadInteger(w)));
    case ParamClass::kInteger64:
      return HostValue::Integer64(*ReadInteger(w));
    case ParamClass::kDuration: {
      HostValue v = HostValue::Integer64(*ReadInteger(w), 27);
      v.kind = ValueKind::kDuration;
      return v;
    }
    case ParamClass::kReal:
      return HostValue::Real(*ReadReal(w));
    case ParamClass::kBoolean:
      return HostValue::Boolean(*ReadBoolean(w));
    case ParamClass::kCurrency: {
      HostValue v;
      v.kind = ValueKind::kCurrency;
      v.typeCode = 10;
      v.integer = *ParseCurrency(w);
      return v;
    }
    case ParamClass::kDate:
    case ParamClass::kTime:
    case ParamClass::kDateTime: {
      HostValue v = HostValue::Text(FromUtf8(w));
      const ParamClass c = ClassOf(code);
      v.kind = c == ParamClass::kDate ? ValueKind::kDate
               : c == ParamClass::kTime ? ValueKind::kTime
                                        : ValueKind::kDateTime;
      if (v.kind == ValueKind::kTime && v.text.size() == 6) v.text += u"000";
      if (v.kind == ValueKind::kDateTime && v.text.size() == 14) v.text += u"000";
      return v;
    }
    default:
      return PlainAsDynamic(w);
  }
}

// ---- storage ----------------------------------------------------------------------------

ArgumentStorage::~ArgumentStorage() {
  for (auto& slot : slots_) tq::Release(slot->string);
}

namespace {

// Writes `value` into `slot` as the payload of type `code`; returns the address the argument
// array (or a reference) points to.
template <typename SlotT>
void* Store(SlotT& slot, uint32_t code, const HostValue& value) {
  const uint8_t base = static_cast<uint8_t>(code & 0xff);
  switch (base) {
    case 122: case 127: case 131: {
      slot.text = value.text;
      const char16_t* p = value.kind == ValueKind::kNullText ? nullptr : slot.text.c_str();
      std::memcpy(slot.word, &p, sizeof p);
      return slot.word;
    }
    case 16: case 28: case 121: case 126: case 130:
      if (value.kind == ValueKind::kBuffer)
        AssignBuffer(slot.string, value.bytes);
      else
        tq::Assign(slot.string, value.text);
      return &slot.string;
    case 31: {
      slot.dynamic = std::make_unique<tq::DynamicValue>();
      FillDynamic(value, *slot.dynamic);
      return slot.dynamic.get();
    }
    case 140: {
      tq::VMObject* array = NewArray(value.elements);
      std::memcpy(slot.word, &array, sizeof array);
      return slot.word;
    }
    case 24: case 25: {
      std::u16string text = value.text.substr(0, base == 24 ? 8 : 9);
      std::memcpy(slot.word, text.c_str(), (text.size() + 1) * 2);
      return slot.word;
    }
    case 26: {
      int64_t packed = 0;
      for (char16_t c : value.text) packed = packed * 10 + (c - u'0');
      std::memcpy(slot.word, &packed, 8);
      return slot.word;
    }
    case 9: case 5: case 29: case 27: case 10:
      std::memcpy(slot.word, &value.integer, 8);
      if (base == 10 && value.integer < 0) std::memset(slot.word + 8, 0xff, 2);
      return slot.word;
    case 12: {
      const double x = value.kind == ValueKind::kReal ? value.real
                                                      : static_cast<double>(value.integer);
      std::memcpy(slot.word, &x, 8);
      return slot.word;
    }
    case 14: case 15: {
      const intptr_t handle = static_cast<intptr_t>(value.integer);
      std::memcpy(slot.word, &handle, sizeof handle);
      return slot.word;
    }
    default: {
      const int32_t n = static_cast<int32_t>(value.integer);
      std::memcpy(slot.word, &n, 4);
      return slot.word;
    }
  }
}

// The type code a variable's storage takes from its current value.
uint32_t VariableCode(const HostValue& v) {
  switch (v.kind) {
    case ValueKind::kInteger: case ValueKind::kBoolean: return v.kind == ValueKind::kBoolean ? 1 : 8;
    case ValueKind::kInteger64: return 9;
    case ValueKind::kReal: return 12;
    case ValueKind::kCurrency: return 10;
    case ValueKind::kDate: return 24;
    case ValueKind::kTime: return 25;
    case ValueKind::kDateTime: return 26;
    case ValueKind::kDuration: return 27;
    case ValueKind::kArray: return 140;
    default: return 16;  // texts live in a VMString
  }
}

}  // namespace

void ArgumentStorage::Add(uint32_t code, const HostValue& value) {
  auto slot = std::make_unique<Slot>();
  if (ClassOf(code) == ParamClass::kReference) {
    const uint32_t variableCode = VariableCode(value);
    slot->reference.data = Store(*slot, variableCode, value);
    slot->reference.typeCode = variableCode;
    pointers_.push_back(&slot->reference);
  } else {
    pointers_.push_back(Store(*slot, code, value));
  }
  slots_.push_back(std::move(slot));
}

void ArgumentStorage::AddReference(const std::string& name, const HostValue& value) {
  Add(80, value);
  slots_.back()->variable = name;
}

std::vector<std::pair<std::string, HostValue>> ArgumentStorage::ReadVariables() const {
  std::vector<std::pair<std::string, HostValue>> out;
  for (const auto& slot : slots_) {
    if (slot->variable.empty()) continue;
    HostValue v = ReadPayload(slot->reference.data, slot->reference.typeCode);
    out.emplace_back(slot->variable, std::move(v));
  }
  return out;
}

}  // namespace tqhost

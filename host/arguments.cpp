// Argument words and their forms.
#include "host/arguments.h"

#include <charconv>
#include <cmath>

#include "frame/vm_array.h"
#include "host/json.h"

namespace tqhost {
namespace {

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

}  // namespace

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
    a.value.typeCode = 28;
    a.value.bytes = std::move(*bytes);
  } else if (prefix == "n") {
    if (!body.empty()) {
      *error = "n: takes nothing after the colon";
      return std::nullopt;
    }
    a.value.kind = ValueKind::kNullText;
    a.value.typeCode = 122;
  } else if (prefix == "p" || prefix == "k") {
    if (body.empty()) {
      *error = std::string(prefix) + ": needs a name";
      return std::nullopt;
    }
    a.value.kind = prefix == "p" ? ValueKind::kProcedure : ValueKind::kControl;
    a.value.typeCode = prefix == "p" ? 67 : 57;
    a.value.text = FromUtf8(body);
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

}  // namespace tqhost

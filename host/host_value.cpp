// Rendering and small parsers of the stand-in's values.
#include "host/host_value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "host/json.h"
#include "platform/code_page_1252.h"
#include "platform/code_pages.h"

namespace tqhost {

HostValue HostValue::Text(std::u16string t, uint32_t code) {
  HostValue v;
  v.kind = ValueKind::kText;
  v.typeCode = code;
  v.text = std::move(t);
  return v;
}
HostValue HostValue::Integer(int32_t n, uint32_t code) {
  HostValue v;
  v.kind = ValueKind::kInteger;
  v.typeCode = code;
  v.integer = n;
  return v;
}
HostValue HostValue::Integer64(int64_t n, uint32_t code) {
  HostValue v;
  v.kind = ValueKind::kInteger64;
  v.typeCode = code;
  v.integer = n;
  return v;
}
HostValue HostValue::Real(double x, uint32_t code) {
  HostValue v;
  v.kind = ValueKind::kReal;
  v.typeCode = code;
  v.real = x;
  return v;
}
HostValue HostValue::Boolean(bool b, uint32_t code) {
  HostValue v;
  v.kind = ValueKind::kBoolean;
  v.typeCode = code;
  v.integer = b ? 1 : 0;
  return v;
}

std::string ToUtf8(std::u16string_view text) { return ce::Utf16ToUtf8(text); }
std::u16string FromUtf8(std::string_view text) { return ce::Utf8ToUtf16(text); }

std::u16string DecodeAnsi(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) out += ce::DecodeCp1252(b);
  return out;
}

std::string EncodeAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out += static_cast<char>(ce::EncodeCp1252(c).value_or('?'));
  return out;
}

std::string ShortestReal(double x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x);
  return std::string(buffer, ec == std::errc() ? end : buffer);
}

std::optional<int64_t> ParseCurrency(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  __int128 units = 0;
  int fraction = -1;
  bool any = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && fraction < 0) {
      fraction = 0;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    any = true;
    if (fraction >= 4) continue;  // digits past the fourth decimal are dropped
    units = units * 10 + (c - '0');
    if (fraction >= 0) ++fraction;
    if (units > static_cast<__int128>(INT64_MAX)) return std::nullopt;
  }
  if (!any) return std::nullopt;
  for (int f = fraction < 0 ? 0 : fraction; f < 4; ++f) units *= 10;
  if (units > static_cast<__int128>(INT64_MAX)) return std::nullopt;
  return negative ? -static_cast<int64_t>(units) : static_cast<int64_t>(units);
}

std::string CurrencyText(int64_t tenThousandths) {
  const bool negative = tenThousandths < 0;
  const unsigned __int128 magnitude =
      negative ? static_cast<unsigned __int128>(-(static_cast<__int128>(tenThousandths)))
               : static_cast<unsigned __int128>(tenThousandths);
  const uint64_t whole = static_cast<uint64_t>(magnitude / 10000);
  uint32_t fraction = static_cast<uint32_t>(magnitude % 10000);
  std::string out = (negative ? "-" : "") + std::to_string(whole);
  if (fraction != 0) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u", fraction);
    std::string f(digits);
    while (!f.empty() && f.back() == '0') f.pop_back();
    out += "." + f;
  }
  return out;
}

std::optional<std::string> ParseHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::string out;
  out.reserve(text.size() / 2);
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < text.size(); i += 2) {
    const int hi = nibble(text[i]), lo = nibble(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

std::string HexText(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string RenderPlain(const HostValue& v) {
  switch (v.kind) {
    case ValueKind::kNone:
    case ValueKind::kNullText:
      return "";
    case ValueKind::kText:
    case ValueKind::kDate:
    case ValueKind::kTime:
    case ValueKind::kDateTime:
    case ValueKind::kProcedure:
    case ValueKind::kControl:
      return ToUtf8(v.text);
    case ValueKind::kAnsiText:
      return ToUtf8(DecodeAnsi(v.bytes));
    case ValueKind::kInteger:
    case ValueKind::kInteger64:
    case ValueKind::kDuration:
      return std::to_string(v.integer);
    case ValueKind::kReal:
      return ShortestReal(v.real);
    case ValueKind::kBoolean:
      return v.integer != 0 ? "true" : "false";
    case ValueKind::kCurrency:
      return CurrencyText(v.integer);
    case ValueKind::kBuffer:
      return HexText(v.bytes);
    case ValueKind::kArray: {
      std::string out;
      for (size_t i = 0; i < v.elements.size(); ++i) {
        if (i) out += "\n";
        out += RenderPlain(v.elements[i]);
      }
      return out;
    }
  }
  return "";
}

std::string RenderJson(const HostValue& v) {
  switch (v.kind) {
    case ValueKind::kNone:
      return "null";
    case ValueKind::kNullText:
      return "\"\"";
    case ValueKind::kText:
    case ValueKind::kDate:
    case ValueKind::kTime:
    case ValueKind::kDateTime:
    case ValueKind::kProcedure:
    case ValueKind::kControl:
      return JsonString(ToUtf8(v.text));
    case ValueKind::kAnsiText:
      return JsonString(ToUtf8(DecodeAnsi(v.bytes)));
    case ValueKind::kInteger:
    case ValueKind::kInteger64:
    case ValueKind::kDuration:
      return std::to_string(v.integer);
    case ValueKind::kReal:
      return std::isfinite(v.real) ? ShortestReal(v.real) : "null";
    case ValueKind::kBoolean:
      return v.integer != 0 ? "true" : "false";
    case ValueKind::kCurrency:
      return JsonString(CurrencyText(v.integer));
    case ValueKind::kBuffer:
      return "{\"hex\": " + JsonString(HexText(v.bytes)) + "}";
    case ValueKind::kArray: {
      std::string out = "[";
      for (size_t i = 0; i < v.elements.size(); ++i) {
        if (i) out += ", ";
        out += RenderJson(v.elements[i]);
      }
      return out + "]";
    }
  }
  return "null";
}

}  // namespace tqhost

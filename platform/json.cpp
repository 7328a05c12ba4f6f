// Recursive-descent JSON reader (RFC 8259), with a depth limit so hostile input cannot
// exhaust the stack, and the string escaping of JSON output.
#include "platform/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ce {
namespace {

constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  std::optional<JsonValue> Document(JsonError* error) {
    JsonValue v;
    SkipSpace();
    if (!Value(v, 0)) return Fail(error);
    SkipSpace();
    if (pos_ != s_.size()) {
      message_ = "unexpected text after the value";
      return Fail(error);
    }
    return v;
  }

 private:
  std::optional<JsonValue> Fail(JsonError* error) {
    if (error) *error = JsonError{message_.empty() ? "malformed JSON" : message_, pos_};
    return std::nullopt;
  }
  bool Error(const char* m) {
    if (message_.empty()) message_ = m;
    return false;
  }
  void SkipSpace() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
      ++pos_;
  }
  bool Literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return Error("unknown literal");
    pos_ += word.size();
    return true;
  }
  bool Value(JsonValue& v, int depth) {
    if (depth > kMaxDepth) return Error("nesting too deep");
    if (pos_ >= s_.size()) return Error("unexpected end of text");
    switch (s_[pos_]) {
      case '{': return Object(v, depth);
      case '[': return Array(v, depth);
      case '"': v.kind = JsonValue::Kind::kString; return String(v.text);
      case 't': v.kind = JsonValue::Kind::kBoolean; v.boolean = true; return Literal("true");
      case 'f': v.kind = JsonValue::Kind::kBoolean; v.boolean = false; return Literal("false");
      case 'n': v.kind = JsonValue::Kind::kNull; return Literal("null");
      default: return Number(v);
    }
  }
  bool Object(JsonValue& v, int depth) {
    v.kind = JsonValue::Kind::kObject;
    ++pos_;
    SkipSpace();
    if (pos_ < s_.size() && s_[pos_] == '}') return ++pos_, true;
    for (;;) {
      SkipSpace();
      if (pos_ >= s_.size() || s_[pos_] != '"') return Error("expected a member name");
      std::string key;
      if (!String(key)) return false;
      SkipSpace();
      if (pos_ >= s_.size() || s_[pos_] != ':') return Error("expected ':'");
      ++pos_;
      SkipSpace();
      JsonValue member;
      if (!Value(member, depth + 1)) return false;
      v.members.push_back(JsonMember{std::move(key), std::move(member)});
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < s_.size() && s_[pos_] == '}') return ++pos_, true;
      return Error("expected ',' or '}'");
    }
  }
  bool Array(JsonValue& v, int depth) {
    v.kind = JsonValue::Kind::kArray;
    ++pos_;
    SkipSpace();
    if (pos_ < s_.size() && s_[pos_] == ']') return ++pos_, true;
    for (;;) {
      SkipSpace();
      JsonValue element;
      if (!Value(element, depth + 1)) return false;
      v.elements.push_back(std::move(element));
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < s_.size() && s_[pos_] == ']') return ++pos_, true;
      return Error("expected ',' or ']'");
    }
  }
  static void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  bool Hex4(uint32_t& out) {
    if (pos_ + 4 > s_.size()) return Error("short \\u escape");
    out = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[pos_++];
      out <<= 4;
      if (c >= '0' && c <= '9') out |= c - '0';
      else if (c >= 'a' && c <= 'f') out |= c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') out |= c - 'A' + 10;
      else return Error("bad \\u escape");
    }
    return true;
  }
  bool String(std::string& out) {
    ++pos_;  // opening quote
    while (pos_ < s_.size()) {
      const char c = s_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Error("control character in string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) break;
      const char e = s_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          uint32_t cp;
          if (!Hex4(cp)) return false;
          if (cp >= 0xD800 && cp < 0xDC00 && s_.substr(pos_, 2) == "\\u") {
            const size_t save = pos_;
            pos_ += 2;
            uint32_t low;
            if (Hex4(low) && low >= 0xDC00 && low < 0xE000) {
              cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            } else {
              pos_ = save;
              message_.clear();
              cp = 0xFFFD;
            }
          } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
          }
          AppendUtf8(out, cp);
          break;
        }
        default: return Error("bad escape");
      }
    }
    return Error("unterminated string");
  }
  bool Number(JsonValue& v) {
    const size_t start = pos_;
    if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
    auto digits = [&] {
      const size_t from = pos_;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (!digits()) return Error("expected a value");
    bool integral = true;
    if (pos_ < s_.size() && s_[pos_] == '.') {
      ++pos_;
      integral = false;
      if (!digits()) return Error("digits expected after '.'");
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      ++pos_;
      integral = false;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      if (!digits()) return Error("digits expected in exponent");
    }
    const std::string_view token = s_.substr(start, pos_ - start);
    v.kind = JsonValue::Kind::kNumber;
    v.number = std::strtod(std::string(token).c_str(), nullptr);
    if (integral) {
      auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v.integer);
      v.integral = ec == std::errc() && end == token.data() + token.size();
    }
    return true;
  }

  std::string_view s_;
  size_t pos_ = 0;
  std::string message_;
};

}  // namespace

const JsonValue* JsonValue::find(std::string_view key) const {
  for (const auto& [name, value] : members)
    if (name == key) return &value;
  return nullptr;
}

std::optional<JsonValue> ParseJson(std::string_view text, JsonError* error) {
  return Parser(text).Document(error);
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    // U+0085 (C2 85), U+2028 and U+2029 (E2 80 A8/A9) end lines for some readers: escaped, so
    // that a record stays one line whatever reads it.
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x85) {
      out += "\\u0085";
      ++i;
      continue;
    }
    if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
        (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
         static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
      out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
      i += 2;
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string WriteJson(const JsonValue& v) {
  switch (v.kind) {
    case JsonValue::Kind::kNull: return "null";
    case JsonValue::Kind::kBoolean: return v.boolean ? "true" : "false";
    case JsonValue::Kind::kNumber: {
      if (v.integral) return std::to_string(v.integer);
      char buffer[64];
      auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v.number);
      return ec == std::errc() && std::isfinite(v.number) ? std::string(buffer, end) : "null";
    }
    case JsonValue::Kind::kString: return JsonString(v.text);
    case JsonValue::Kind::kArray: {
      std::string out = "[";
      for (size_t i = 0; i < v.elements.size(); ++i) out += (i ? ", " : "") + WriteJson(v.elements[i]);
      return out + "]";
    }
    case JsonValue::Kind::kObject: {
      std::string out = "{";
      for (size_t i = 0; i < v.members.size(); ++i)
        out += (i ? ", " : "") + JsonString(v.members[i].name) + ": " + WriteJson(v.members[i].value);
      return out + "}";
    }
  }
  return "null";
}

}  // namespace ce

// Recursive-descent reading of the device's settings files.
#include "platform/settings_json.h"

#include <cstdlib>

#include "platform/utf8.h"

namespace ce {
namespace {

constexpr int kMaxDepth = 64;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::optional<SettingsJson> Document(std::string* problem) {
    SettingsJson value;
    if (Value(&value, 0)) {
      SkipSpace();
      if (pos_ == text_.size()) return value;
      Fail("text after the value");
    }
    if (problem != nullptr) *problem = error_ + " at offset " + std::to_string(pos_);
    return std::nullopt;
  }

 private:
  bool Fail(const char* why) {
    if (error_.empty()) error_ = why;
    return false;
  }
  void SkipSpace() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
      ++pos_;
  }
  bool Literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return Fail("unknown word");
    pos_ += word.size();
    return true;
  }

  bool Value(SettingsJson* out, int depth) {
    if (depth > kMaxDepth) return Fail("nesting too deep");
    SkipSpace();
    if (pos_ >= text_.size()) return Fail("value expected");
    const char c = text_[pos_];
    if (c == '{') return Object(out, depth);
    if (c == '[') return Array(out, depth);
    if (c == '"') {
      out->kind = SettingsJson::Kind::kString;
      return String(&out->text);
    }
    if (c == 't' || c == 'f') {
      out->kind = SettingsJson::Kind::kBoolean;
      out->boolean = c == 't';
      return Literal(c == 't' ? "true" : "false");
    }
    if (c == 'n') return Literal("null");
    return Number(out);
  }

  bool Number(SettingsJson* out) {
    const size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    auto digits = [&] {
      const size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (!digits()) return Fail("number expected");
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      if (!digits()) return Fail("digits expected after the point");
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (!digits()) return Fail("exponent digits expected");
    }
    out->kind = SettingsJson::Kind::kNumber;
    out->number = std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
    return true;
  }

  bool Hex4(unsigned* unit) {
    if (text_.size() - pos_ < 4) return Fail("short \\u escape");
    *unit = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = text_[pos_++];
      int v = (h >= '0' && h <= '9')   ? h - '0'
              : (h >= 'a' && h <= 'f') ? h - 'a' + 10
              : (h >= 'A' && h <= 'F') ? h - 'A' + 10
                                       : -1;
      if (v < 0) return Fail("bad \\u escape");
      *unit = *unit * 16 + static_cast<unsigned>(v);
    }
    return true;
  }

  bool String(std::string* out) {
    ++pos_;  // opening quote
    while (true) {
      if (pos_ >= text_.size()) return Fail("unterminated string");
      const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
      if (c == '"') break;
      if (c < 0x20) return Fail("control character in a string");
      if (c != '\\') {
        out->push_back(static_cast<char>(c));
        continue;
      }
      if (pos_ >= text_.size()) return Fail("unterminated string");
      const char e = text_[pos_++];
      static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
      if (size_t at = kFrom.find(e); at != std::string_view::npos) {
        out->push_back(kTo[at]);
        continue;
      }
      if (e != 'u') return Fail("bad escape");
      unsigned unit = 0;
      if (!Hex4(&unit)) return false;
      char32_t code = unit;
      if (unit >= 0xD800 && unit < 0xDC00) {
        unsigned low = 0;
        if (text_.substr(pos_, 2) != "\\u") return Fail("lone surrogate");
        pos_ += 2;
        if (!Hex4(&low)) return false;
        if (low < 0xDC00 || low > 0xDFFF) return Fail("lone surrogate");
        code = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
        return Fail("lone surrogate");
      }
      AppendUtf8(code, out);
    }
    if (!Utf8ToUtf16Strict(*out)) return Fail("invalid UTF-8 in a string");
    return true;
  }

  bool Array(SettingsJson* out, int depth) {
    ++pos_;
    out->kind = SettingsJson::Kind::kArray;
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == ']') return ++pos_, true;
    while (true) {
      out->elements.emplace_back();
      if (!Value(&out->elements.back(), depth + 1)) return false;
      SkipSpace();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == ']') return ++pos_, true;
      return Fail("',' or ']' expected");
    }
  }

  bool Object(SettingsJson* out, int depth) {
    ++pos_;
    out->kind = SettingsJson::Kind::kObject;
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == '}') return ++pos_, true;
    while (true) {
      SkipSpace();
      if (pos_ >= text_.size() || text_[pos_] != '"') return Fail("member name expected");
      std::string name;
      if (!String(&name)) return false;
      SkipSpace();
      if (pos_ >= text_.size() || text_[pos_] != ':') return Fail("':' expected");
      ++pos_;
      out->members.emplace_back(std::move(name), SettingsJson{});
      if (!Value(&out->members.back().second, depth + 1)) return false;
      SkipSpace();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == '}') return ++pos_, true;
      return Fail("',' or '}' expected");
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace

const SettingsJson* SettingsJson::find(std::string_view name) const {
  for (auto it = members.rbegin(); it != members.rend(); ++it) {
    if (it->first == name) return &it->second;
  }
  return nullptr;
}

std::optional<SettingsJson> ParseSettingsJson(std::string_view text, std::string* problem) {
  return Reader(text).Document(problem);
}

}  // namespace ce

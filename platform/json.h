// A small JSON reader and the string escaping of JSON output. The reader takes untrusted text
// (the device description, form files, tq240's j: arguments and --settings files): it rejects
// anything malformed with a message and a position, limits nesting depth, and never reads out
// of bounds.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ce {

struct JsonMember;

struct JsonValue {
  enum class Kind { kNull, kBoolean, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  bool integral = false;  // written without fraction or exponent and fits in 64 bits
  int64_t integer = 0;
  std::string text;  // UTF-8
  std::vector<JsonValue> elements;
  std::vector<JsonMember> members;  // in document order

  const JsonValue* find(std::string_view key) const;
};

struct JsonMember {
  std::string name;
  JsonValue value;
};

struct JsonError {
  std::string message;
  size_t offset = 0;
};

// Parses one JSON document; on failure returns nullopt and fills `error`.
std::optional<JsonValue> ParseJson(std::string_view text, JsonError* error = nullptr);

// `value` as JSON text on one line (members in their order; numbers read as whole numbers are
// written as such, others in the shortest form that reads back).
std::string WriteJson(const JsonValue& value);

// `text` (UTF-8) as a JSON string literal, quotes included. Control characters, U+0085, U+2028
// and U+2029 are written as \u escapes, so the literal never breaks a line.
std::string JsonString(std::string_view text);

}  // namespace ce

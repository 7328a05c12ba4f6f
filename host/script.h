// Script mode: one call per line, `FUNCTION ARG...` or `NAME = FUNCTION ARG...`. Words are
// separated by spaces; '...' and "..." group words and are taken literally (a backslash is an
// ordinary character). Empty lines and lines starting with # are skipped.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tqhost {

struct ScriptLine {
  std::string keepAs;  // NAME of "NAME = ...", empty otherwise
  std::string function;
  std::vector<std::string> arguments;
};

// Splits a line into words; nullopt with a reason for an unterminated quote.
std::optional<std::vector<std::string>> SplitWords(std::string_view line, std::string* error);

// Parses one script line: nullopt with an empty `error` for a line to skip, nullopt with a
// reason for a malformed one.
std::optional<ScriptLine> ParseScriptLine(std::string_view line, std::string* error);

}  // namespace tqhost

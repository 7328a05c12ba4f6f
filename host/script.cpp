// The script-line reader.
#include "host/script.h"

namespace tqhost {

std::optional<std::vector<std::string>> SplitWords(std::string_view line, std::string* error) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string word;
    bool any = false;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      const char c = line[i];
      if (c == '\'' || c == '"') {
        const size_t close = line.find(c, i + 1);
        if (close == std::string_view::npos) {
          *error = std::string("unterminated ") + c + " quote";
          return std::nullopt;
        }
        word.append(line.substr(i + 1, close - i - 1));
        i = close + 1;
      } else {
        word += c;
        ++i;
      }
      any = true;
    }
    if (any) words.push_back(std::move(word));
  }
  return words;
}

std::optional<ScriptLine> ParseScriptLine(std::string_view line, std::string* error) {
  error->clear();
  size_t first = 0;
  while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
  if (first == line.size() || line[first] == '#' || line.substr(first) == "\r") return std::nullopt;
  std::optional<std::vector<std::string>> words = SplitWords(line, error);
  if (!words) return std::nullopt;
  if (words->empty()) return std::nullopt;
  ScriptLine parsed;
  size_t at = 0;
  if (words->size() >= 2 && (*words)[1] == "=") {
    parsed.keepAs = (*words)[0];
    at = 2;
    if (words->size() == 2) {
      *error = "nothing to call after '='";
      return std::nullopt;
    }
  }
  parsed.function = (*words)[at];
  parsed.arguments.assign(words->begin() + static_cast<long>(at) + 1, words->end());
  return parsed;
}

}  // namespace tqhost

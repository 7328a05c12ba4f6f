// Line reader of the function catalog.
//
// A line is a function line (starts in column 1), an overload line (indented, belongs to the
// last function line) or nothing (blank or comment). "#" starts a comment anywhere, so names
// and entries never contain it. Every fault names its line; nothing is silently skipped.
#include "catalog_parser.h"

#include <cctype>
#include <string>
#include <vector>

namespace catalog {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitWords(std::string_view s) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    size_t start = i;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

std::string Quote(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

// A decimal or 0x-hexadecimal number that fits 32 bits; no sign, no spaces.
uint32_t ParseNumber(std::string_view s, int line, const char* what) {
  bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  std::string_view digits = hex ? s.substr(2) : s;
  if (digits.empty()) throw CatalogError(line, std::string("missing ") + what);
  uint64_t value = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      throw CatalogError(line, std::string(what) + " " + Quote(s) + " is not a number");
    }
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (value > 0xffffffffu) {
      throw CatalogError(line, std::string(what) + " " + Quote(s) + " does not fit 32 bits");
    }
  }
  return static_cast<uint32_t>(value);
}

bool IsIdentifier(std::string_view s) {
  if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
  for (char c : s) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

// ID NAME [uses ID] [attrA=N] [attrB=N] [check=N] [errors=N,N,...]
Record ParseFunctionLine(std::string_view text, int line) {
  std::vector<std::string_view> words = SplitWords(text);
  if (words.size() < 2) throw CatalogError(line, "a function line needs an id and a name");
  Record record;
  record.line = line;
  record.id = ParseNumber(words[0], line, "function id");
  if (words[1] != "-") {
    if (!IsIdentifier(words[1])) {
      throw CatalogError(line, "function name " + Quote(words[1]) + " is not an identifier");
    }
    record.name = std::string(words[1]);
  }
  bool seenA = false, seenB = false, seenCheck = false;
  for (size_t i = 2; i < words.size(); ++i) {
    std::string_view word = words[i];
    if (word == "uses") {
      if (record.uses) throw CatalogError(line, "\"uses\" given twice");
      if (i + 1 == words.size()) throw CatalogError(line, "\"uses\" needs a function id");
      record.uses = ParseNumber(words[++i], line, "\"uses\" target");
      continue;
    }
    size_t eq = word.find('=');
    std::string_view key = word.substr(0, eq);
    if (key == "errors" && eq != std::string_view::npos) {
      if (!record.errors.empty()) throw CatalogError(line, "\"errors\" given twice");
      std::string_view list = word.substr(eq + 1);
      for (size_t start = 0;;) {
        const size_t comma = list.find(',', start);
        record.errors.push_back(
            ParseNumber(list.substr(start, comma - start), line, "error id"));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
      continue;
    }
    bool* seen = key == "attrA"   ? &seenA
                 : key == "attrB" ? &seenB
                 : key == "check" ? &seenCheck
                                  : nullptr;
    if (eq == std::string_view::npos || seen == nullptr) {
      throw CatalogError(
          line, "unknown field " + Quote(word) +
                    " (expected uses ID, attrA=, attrB=, check= or errors=)");
    }
    if (*seen) throw CatalogError(line, Quote(key) + " given twice");
    *seen = true;
    uint32_t value = ParseNumber(word.substr(eq + 1), line, std::string(key).c_str());
    if (key == "attrA") {
      record.attributeA = value;
    } else if (key == "attrB") {
      record.attributeB = value;
    } else {
      record.checkValue = value;
    }
  }
  return record;
}

// RESULT (PARAM, ...) [+] [*] ENTRY
Overload ParseOverloadLine(std::string_view text, int line) {
  Overload overload;
  overload.line = line;
  size_t open = text.find('(');
  size_t close = text.find(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    throw CatalogError(line, "an overload line needs a parameter list in parentheses");
  }
  overload.result = ParseNumber(Trim(text.substr(0, open)), line, "result type");
  std::string_view list = Trim(text.substr(open + 1, close - open - 1));
  if (!list.empty()) {
    size_t start = 0;
    while (true) {
      size_t comma = list.find(',', start);
      std::string_view item = Trim(list.substr(start, comma - start));
      overload.params.push_back(ParseNumber(item, line, "parameter type"));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  }
  if (overload.params.size() > kMaxParameters) {
    throw CatalogError(line, "more than " + std::to_string(kMaxParameters) + " parameters");
  }
  std::vector<std::string_view> rest = SplitWords(text.substr(close + 1));
  size_t i = 0;
  if (i < rest.size() && rest[i] == "+") {
    overload.flags |= kFlagOpenEnded;
    ++i;
  }
  if (i < rest.size() && rest[i] == "*") {
    overload.flags |= kFlag256;
    ++i;
  }
  if (i == rest.size()) throw CatalogError(line, "missing entry (x, pending or a name)");
  if (i + 1 != rest.size()) {
    throw CatalogError(
        line, "unexpected " + Quote(rest[i]) + " (flags are + then *, followed by the entry)");
  }
  std::string_view entry = rest[i];
  if (entry == "x") {
    overload.kind = EntryKind::kNever;
  } else if (entry == "pending") {
    overload.kind = EntryKind::kPending;
  } else if (IsIdentifier(entry)) {
    overload.kind = EntryKind::kNamed;
    overload.entry = std::string(entry);
  } else {
    throw CatalogError(line, "entry " + Quote(entry) + " is neither x, pending nor a name");
  }
  return overload;
}

}  // namespace

Catalog ParseCatalog(std::string_view text) {
  Catalog catalog;
  int line = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    ++line;
    if (raw.find('\0') != std::string_view::npos) throw CatalogError(line, "NUL character");
    std::string_view content = raw.substr(0, raw.find('#'));
    if (Trim(content).empty()) continue;
    if (!IsBlank(content.front())) {
      catalog.records.push_back(ParseFunctionLine(Trim(content), line));
      continue;
    }
    if (catalog.records.empty()) {
      throw CatalogError(line, "overload line before the first function line");
    }
    Record& owner = catalog.records.back();
    if (owner.uses) {
      throw CatalogError(line, "function " + std::to_string(owner.id) + " uses function " +
                                   std::to_string(*owner.uses) +
                                   "'s overloads and cannot have its own");
    }
    owner.overloads.push_back(ParseOverloadLine(Trim(content), line));
  }
  catalog.lineCount = line;
  return catalog;
}

}  // namespace catalog

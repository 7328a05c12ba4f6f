// INI text: line splitting and the reading and writing rules.
#include "system/profile_text.h"

#include <vector>

namespace tq {
namespace {

struct Line {
  size_t begin;  // first byte
  size_t end;    // end of the text, before CR LF
  size_t next;   // first byte of the next line (behind CR LF, or the end of the file)
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t crlf = text.find("\r\n", at);
    if (crlf == std::string_view::npos) {
      lines.push_back({at, text.size(), text.size()});
      break;
    }
    lines.push_back({at, crlf, crlf + 2});
    at = crlf + 2;
  }
  return lines;
}

bool IsAlphaNumeric(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  // Bytes above 0x7f are letters of the code page (or parts of one): they never end a key.
  return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0x80;
}

// Exact comparison without a folding table; without regard to case with one.
bool StartsWith(std::string_view line, std::string_view prefix,
                const ProfileCase* folding = nullptr) {
  if (line.size() < prefix.size()) return false;
  if (folding == nullptr) return line.substr(0, prefix.size()) == prefix;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (folding->lower[static_cast<unsigned char>(line[i])] !=
        folding->lower[static_cast<unsigned char>(prefix[i])])
      return false;
  }
  return true;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool IsHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.find(']') != std::string_view::npos;
}

bool MatchesHeader(std::string_view line, std::string_view section, const ProfileCase* folding) {
  return StartsWith(line, "[") && StartsWith(line.substr(1), section, folding) &&
         StartsWith(line.substr(1 + section.size()), "]");
}

bool MatchesKey(std::string_view line, std::string_view key, const ProfileCase* folding) {
  return line.size() > key.size() && StartsWith(line, key, folding) &&
         !IsAlphaNumeric(line[key.size()]);
}

// Where writing finds things: the index of the header line, or lines.size().
size_t FindWrittenHeader(std::string_view text, const std::vector<Line>& lines,
                         std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    if (MatchesHeader(line, section, nullptr)) return i;
  }
  return lines.size();
}

bool EndsWrittenSection(std::string_view text, const Line& line) {
  // The line's first byte, which for an empty line is the CR of its line end.
  if (line.begin >= text.size()) return false;
  const char first = text[line.begin];
  return first == '[' || first == '\r' || first == '\n';
}

std::string EntryLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += " = ";
  line += value;
  line += "\r\n";
  return line;
}

}  // namespace

ProfileCase::ProfileCase() {
  for (size_t i = 0; i < lower.size(); ++i)
    lower[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
}

std::string EditProfileText(std::string_view text, std::string_view section,
                            std::optional<std::string_view> key,
                            std::optional<std::string_view> value) {
  const std::vector<Line> lines = SplitLines(text);
  const size_t header = FindWrittenHeader(text, lines, section);
  std::string out(text);
  if (header == lines.size()) {
    if (!key) return out;
    out += "[";
    out += section;
    out += "]\r\n";
    if (value) out += EntryLine(*key, *value);
    return out;
  }
  if (!key) {
    // Remove everything up to the next line that begins with "[" once trimmed.
    size_t end = text.size();
    for (size_t i = header + 1; i < lines.size(); ++i) {
      const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
      if (StartsWith(TrimLeft(line), "[")) {
        end = lines[i].begin;
        break;
      }
    }
    const size_t from = lines[header].next;
    // A header on the last line without CR LF keeps its text as it is.
    return out.erase(from, end - from);
  }
  const std::string entry = value ? EntryLine(*key, *value) : std::string();
  for (size_t i = header + 1; i < lines.size(); ++i) {
    const std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    if (MatchesKey(line, *key, nullptr))
      return out.replace(lines[i].begin, lines[i].next - lines[i].begin, entry);
    if (EndsWrittenSection(text, lines[i])) return out.insert(lines[i].begin, entry);
  }
  return out + entry;
}

std::optional<std::string> ReadProfileText(std::string_view text,
                                           std::optional<std::string_view> section,
                                           std::optional<std::string_view> key,
                                           const ProfileCase& folding) {
  const std::vector<Line> lines = SplitLines(text);
  auto trimmed = [&](size_t i) {
    return TrimLeft(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
  };
  if (!section) {
    std::string list;
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string_view line = trimmed(i);
      if (!IsHeader(line)) continue;
      list += line.substr(1, line.find(']') - 1);
      list += "\r\n";
    }
    return list;
  }
  size_t i = 0;
  while (i < lines.size() && !MatchesHeader(trimmed(i), *section, &folding)) ++i;
  if (i == lines.size()) return std::nullopt;
  std::string list;
  for (++i; i < lines.size(); ++i) {
    const std::string_view line = trimmed(i);
    if (IsHeader(line)) break;
    if (line.empty() || line.front() == ';') continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (key) {
      if (MatchesKey(line, *key, &folding)) return std::string(TrimLeft(line.substr(equals + 1)));
      continue;
    }
    list += TrimRight(line.substr(0, equals));
    list += "\r\n";
  }
  if (key || list.empty()) return std::nullopt;
  return list;
}

}  // namespace tq

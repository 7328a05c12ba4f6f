// Message source parsing and checks; see message_source.h for the format.
#include "tools/message_source.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <string_view>

namespace tq::tools {
namespace {

constexpr uint32_t kMarkerId = 0x0101;
constexpr uint32_t kMaxId = 0xFFFF;

std::string Where(const std::string& path, int line) {
  return path + ":" + std::to_string(line) + ": ";
}

std::string BaseName(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

// "28192 (0x6E20)": sources write some ids in decimal, some in hex.
std::string IdText(uint32_t id) {
  char hex[16];
  std::snprintf(hex, sizeof hex, " (0x%04X)", id);
  return std::to_string(id) + hex;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : " ") + item;
  return out.empty() ? "none" : out;
}

bool ParseId(std::string_view text, uint32_t& id) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
  return error == std::errc() && end == text.data() + text.size();
}

// Decodes one UTF-8 sequence at `i`; returns its length, 0 when malformed.
size_t Utf8Sequence(const std::string& s, size_t i, uint32_t& code) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t lead = byte(i);
  size_t length;
  uint32_t minimum;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - i < length) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Resolves the escapes of a text; false (with `problem` set) on a bad escape or a raw control.
bool Unescape(std::string_view raw, std::string& text, std::string& problem) {
  text.clear();
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) {
      problem = "control character in the text (write \\t, \\n or \\r)";
      return false;
    }
    if (c != '\\') {
      text += c;
      continue;
    }
    if (i + 1 == raw.size()) {
      problem = "a backslash ends the text (write \\\\ for a backslash)";
      return false;
    }
    switch (raw[++i]) {
      case 'n':
        text += '\n';
        break;
      case 'r':
        text += '\r';
        break;
      case 't':
        text += '\t';
        break;
      case '\\':
        text += '\\';
        break;
      default:
        problem = std::string("unknown escape \\") + raw[i] + " (\\n, \\r, \\t and \\\\ exist)";
        return false;
    }
  }
  return true;
}

// Reads "ID[/fN][/u16]" into `message`; false with `problem` set on a bad key.
bool ParseKey(std::string_view key, SourceMessage& message, std::string& problem) {
  size_t slash = key.find('/');
  const std::string_view idText = key.substr(0, slash);
  if (!ParseId(idText, message.id) || message.id == 0 || message.id > kMaxId) {
    problem = "bad message id \"" + std::string(idText) + "\" (decimal or 0x-hex, 1 to 0xFFFF)";
    return false;
  }
  if (message.id == kMarkerId) {
    problem = "message id 0x0101 is reserved for the block marker";
    return false;
  }
  bool seenFlags = false;
  while (slash != std::string_view::npos) {
    key.remove_prefix(slash + 1);
    slash = key.find('/');
    const std::string_view option = key.substr(0, slash);
    if (option == "u16" && !message.utf16) {
      message.utf16 = true;
    } else if (option.size() == 2 && option[0] == 'f' && option[1] >= '0' && option[1] <= '3' &&
               !seenFlags) {
      message.flags = static_cast<uint8_t>(option[1] - '0');
      seenFlags = true;
    } else {
      problem = "bad or repeated option \"/" + std::string(option) + "\" (/f0 to /f3, /u16)";
      return false;
    }
  }
  return true;
}

}  // namespace

bool IsValidUtf8(const std::string& bytes) {
  uint32_t code;
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = Utf8Sequence(bytes, i, code);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string Utf8ToUtf16Le(const std::string& utf8) {
  std::string out;
  const auto unit = [&out](uint32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  uint32_t code;
  for (size_t i = 0; i < utf8.size();) {
    const size_t length = Utf8Sequence(utf8, i, code);
    if (length == 0) break;
    i += length;
    if (code < 0x10000) {
      unit(code);
    } else {
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::vector<std::string> InsertionPoints(const std::string& text) {
  std::vector<std::string> points;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '%') continue;
    if (text[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == i + 1) continue;
    if (end < text.size() && text[end] == '!') {
      const size_t close = text.find('!', end + 1);
      if (close != std::string::npos) end = close + 1;
    }
    points.push_back(text.substr(i, end - i));
    i = end - 1;
  }
  std::sort(points.begin(), points.end());
  return points;
}

void CheckLanguagesAgree(const std::vector<MessageSource>& sources,
                         std::vector<std::string>& errors) {
  if (sources.empty()) return;
  std::vector<std::map<uint32_t, const SourceMessage*>> byId(sources.size());
  for (size_t s = 0; s < sources.size(); ++s)
    for (const SourceMessage& m : sources[s].messages) byId[s][m.id] = &m;
  for (size_t s = 0; s < sources.size(); ++s) {
    for (size_t o = 0; o < sources.size(); ++o) {
      if (o == s) continue;
      for (const SourceMessage& m : sources[s].messages) {
        const auto other = byId[o].find(m.id);
        if (other == byId[o].end()) {
          errors.push_back(Where(sources[s].path, m.line) + "message " + IdText(m.id) +
                           " is missing from " + BaseName(sources[o].path));
        } else if (o < s && InsertionPoints(m.text) != InsertionPoints(other->second->text)) {
          errors.push_back(Where(sources[s].path, m.line) + "message " + IdText(m.id) +
                           " has the insertion points " + Joined(InsertionPoints(m.text)) +
                           " but " + BaseName(sources[o].path) + " has " +
                           Joined(InsertionPoints(other->second->text)));
        }
      }
    }
  }
}

MessageSource ParseMessageSource(const std::string& path, const std::string& content,
                                 std::vector<std::string>& errors) {
  MessageSource source{path, {}};
  std::map<uint32_t, int> lines;  // id -> line of its first definition
  std::string_view rest(content);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  for (int number = 1; !rest.empty(); ++number) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;

    const std::string where = Where(path, number);
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      errors.push_back(where + "no TAB between the message id and its text");
      continue;
    }
    SourceMessage message;
    message.line = number;
    std::string problem;
    if (!ParseKey(line.substr(0, tab), message, problem) ||
        !Unescape(line.substr(tab + 1), message.text, problem)) {
      errors.push_back(where + problem);
      continue;
    }
    if (!IsValidUtf8(message.text)) {
      errors.push_back(where + "the text is not valid UTF-8");
      continue;
    }
    const auto [known, fresh] = lines.emplace(message.id, number);
    if (!fresh) {
      errors.push_back(where + "message " + IdText(message.id) + " already defined on line " +
                       std::to_string(known->second));
      continue;
    }
    source.messages.push_back(std::move(message));
  }
  return source;
}

}  // namespace tq::tools

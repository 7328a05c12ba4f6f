// Full, relative and split paths; the name check.
#include "files/path_ops.h"

#include <cstdlib>

#include "frame/text.h"

namespace tq {
namespace {

constexpr char16_t kDefaultApplication[] = u"\\Program Files\\App\\App.exe";

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

char16_t Folded(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Folded(text[i]) != Folded(prefix[i])) return false;
  }
  return true;
}

// "C:" or "\\server\share" at the start of a path, else empty.
std::u16string_view VolumePrefix(std::u16string_view path) {
  if (path.size() >= 2 && path[1] == u':') return path.substr(0, 2);
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t end = 2;
    for (int part = 0; part < 2; ++part) {
      while (end < path.size() && !IsSeparator(path[end])) ++end;
      if (part == 0 && end < path.size()) ++end;
    }
    return path.substr(0, end);
  }
  return {};
}

}  // namespace

size_t FullPath(std::u16string_view path, size_t capacity, std::u16string* out) {
  std::u16string full;
  if ((!path.empty() && path[0] == u'\\') || path.find(u':') != std::u16string_view::npos) {
    full.assign(path);
  } else {
    full = ApplicationDirectory();
    if (full.empty() || full.back() != u'\\') full += u'\\';
    full.append(path);
  }
  for (size_t at; (at = full.find(u"\\.\\")) != std::u16string::npos;) full.erase(at, 2);
  for (size_t at; (at = full.find(u"\\..\\")) != std::u16string::npos;) {
    const size_t before = at == 0 ? std::u16string::npos : full.rfind(u'\\', at - 1);
    if (before == std::u16string::npos) {
      full.erase(at, 3);  // nothing to climb above the root
    } else {
      full.erase(before, at + 3 - before);
    }
  }
  if (full.size() <= capacity && out != nullptr) *out = full;
  return full.size();
}

std::optional<std::u16string> RelativePath(std::u16string_view path, std::u16string_view reference) {
  const std::u16string_view volume = VolumePrefix(reference);
  if (!StartsWithIgnoringCase(path, volume)) return std::nullopt;
  std::u16string base(reference);
  while (!base.empty() && IsSeparator(base.back())) base.pop_back();
  std::u16string climbed;
  for (;;) {
    const std::u16string withSeparator = base + u"\\";
    if (StartsWithIgnoringCase(path, withSeparator)) {
      std::u16string result = climbed.empty() ? u".\\" : climbed;
      result.append(path.substr(withSeparator.size()));
      if (result.size() > kMaxPath) return std::nullopt;
      return result;
    }
    const size_t slash = base.find_last_of(u"\\/");
    if (slash == std::u16string::npos || base.size() <= volume.size()) return std::nullopt;
    base.resize(slash);
    climbed += u"..\\";
  }
}

SplitPathParts SplitPath(std::u16string_view path) {
  SplitPathParts parts;
  const std::u16string_view volume = VolumePrefix(path);
  parts.prefix.assign(volume);
  std::u16string_view rest = path.substr(volume.size());
  const size_t slash = rest.find_last_of(u"\\/");
  if (slash != std::u16string_view::npos) {
    parts.directory.assign(rest.substr(0, slash + 1));
    rest.remove_prefix(slash + 1);
  }
  const size_t dot = rest.rfind(u'.');
  if (dot != std::u16string_view::npos) {
    parts.extension.assign(rest.substr(dot));
    rest = rest.substr(0, dot);
  }
  parts.name.assign(rest);
  return parts;
}

bool PassesNameCheck(std::u16string_view path) {
  if (path.empty()) return false;
  return IsSeparator(path.front()) || path.back() == u':';
}

std::u16string ApplicationDirectory() {
  const char* configured = std::getenv("TQ_APP");
  std::u16string application =
      configured != nullptr && *configured != 0 ? Utf8ToUtf16(configured) : kDefaultApplication;
  const size_t slash = application.find_last_of(u"\\/");
  return slash == std::u16string::npos ? u"\\" : application.substr(0, slash == 0 ? 1 : slash);
}

bool HasReservedCharacter(std::u16string_view path) {
  return path.find_first_of(u"*?\"<>|") != std::u16string_view::npos;
}

}  // namespace tq

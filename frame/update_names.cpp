// Application names, key paths, version order and update addresses.
#include "frame/update_names.h"

#include <cstdlib>

#include "frame/text.h"
#include "platform/utf8.h"

namespace tq {
namespace {

constexpr size_t kMaxPath = 260;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

}  // namespace

std::u16string ApplicationName(std::u16string_view path) {
  path = path.substr(0, kMaxPath);
  if (path.size() >= 2 && path[1] == u':') {
    path.remove_prefix(2);
  } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // "\\server\share": skip the server and the share names.
    size_t pos = 2;
    for (int names = 0; names < 2 && pos <= path.size(); ++names) {
      while (pos < path.size() && !IsSeparator(path[pos])) ++pos;
      if (names == 0 && pos < path.size()) ++pos;
    }
    path.remove_prefix(std::min(pos, path.size()));
  }
  const size_t slash = path.find_last_of(u"\\/");
  if (slash != std::u16string_view::npos) path.remove_prefix(slash + 1);
  const size_t dot = path.rfind(u'.');
  if (dot != std::u16string_view::npos) path = path.substr(0, dot);
  return std::u16string(path);
}

std::u16string ApplicationKeyPath(std::u16string_view applicationName) {
  return std::u16string(kRuntimeKey) + u"\\APPLI\\" + std::u16string(applicationName);
}

std::u16string RunningExecutablePath() {
  const char* app = std::getenv("TQ_APP");
  std::u16string path = app && *app ? ce::Utf8ToUtf16(app) : u"\\Program Files\\App\\App.exe";
  if (path.size() > kMaxPath) path.resize(kMaxPath);
  return path;
}

int CompareVersions(std::u16string_view a, std::u16string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      // Compare the runs by value: skip leading zeros, then the longer run is greater, then
      // digit by digit; equal values with more leading zeros sort first.
      size_t endA = i, endB = j;
      while (endA < a.size() && IsDigit(a[endA])) ++endA;
      while (endB < b.size() && IsDigit(b[endB])) ++endB;
      size_t startA = i, startB = j;
      while (startA + 1 < endA && a[startA] == u'0') ++startA;
      while (startB + 1 < endB && b[startB] == u'0') ++startB;
      const size_t lengthA = endA - startA, lengthB = endB - startB;
      if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
      for (size_t k = 0; k < lengthA; ++k) {
        if (a[startA + k] != b[startB + k]) return a[startA + k] < b[startB + k] ? -1 : 1;
      }
      if (endA - i != endB - j) return endA - i > endB - j ? -1 : 1;
      i = endA;
      j = endB;
      continue;
    }
    const char16_t x = FoldCase(a[i]), y = FoldCase(b[j]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  return j < b.size() ? -1 : 0;
}

UpdateAddress SplitUpdateAddress(std::u16string_view address) {
  if (address.size() >= 7 && CompareVersions(address.substr(0, 7), u"http://") == 0)
    address.remove_prefix(7);
  UpdateAddress split;
  const size_t slash = address.find(u'/');
  std::u16string_view host = address.substr(0, slash);
  split.path = slash == std::u16string_view::npos ? u"/" : std::u16string(address.substr(slash));
  const size_t colon = host.find(u':');
  if (colon != std::u16string_view::npos) {
    int port = 0;
    for (char16_t c : host.substr(colon + 1)) {
      if (!IsDigit(c)) break;
      port = std::min(port * 10 + (c - u'0'), 65535);
    }
    split.port = static_cast<uint16_t>(port);
    host = host.substr(0, colon);
  }
  split.host = Utf16ToCp1252(host);
  return split;
}

}  // namespace tq

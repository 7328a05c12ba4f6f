// File-name mask matching with "*" and "?", without regard to case.
#include "platform/wildcard_match.h"

#include <unicode/uchar.h>

namespace ce {
namespace {

bool SameLetter(char16_t a, char16_t b) {
  return a == b || u_foldCase(a, U_FOLD_CASE_DEFAULT) == u_foldCase(b, U_FOLD_CASE_DEFAULT);
}

// Classic two-pointer matching: on a mismatch, resume after the last "*" with one more
// character swallowed. Each "*" restarts at most name-length times.
bool Match(std::u16string_view mask, std::u16string_view name) {
  size_t m = 0;
  size_t n = 0;
  size_t starMask = std::u16string_view::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || SameLetter(mask[m], name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::u16string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesFileMask(std::u16string_view mask, std::u16string_view name) {
  if (mask.empty()) return false;
  if (Match(mask, name)) return true;
  if (mask.size() >= 2 && mask.substr(mask.size() - 2) == u".*" &&
      name.find(u'.') == std::u16string_view::npos) {
    return Match(mask.substr(0, mask.size() - 2), name);
  }
  return false;
}

bool HasWildcards(std::u16string_view text) {
  return text.find_first_of(u"*?") != std::u16string_view::npos;
}

}  // namespace ce

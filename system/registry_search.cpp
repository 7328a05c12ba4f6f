// The registry search: one scan of a key (values, then subkeys, descending when asked), and
// the walk from a position to its siblings and up through its parents.
#include "system/registry_search.h"

#include <unicode/uchar.h>

#include <cstring>
#include <optional>
#include <vector>

#include "platform/registry.h"
#include "platform/strings.h"
#include "system/key_path.h"
#include "system/registry_keys.h"

namespace tq {
namespace {

using namespace search_option;

struct Position {
  std::u16string root, key, valueName, valueData;
};

std::u16string Format(const Position& p) {
  std::u16string out = p.root + u"\t" + p.key;
  if (!p.valueName.empty()) out += u"\t" + p.valueName;
  if (!p.valueData.empty()) out += u"\t" + p.valueData;
  return out;
}

Position Parse(std::u16string_view text) {
  std::vector<std::u16string> fields;
  size_t start = 0;
  while (true) {
    const size_t tab = text.find(u'\t', start);
    fields.emplace_back(text.substr(start, tab == std::u16string_view::npos ? tab : tab - start));
    if (tab == std::u16string_view::npos) break;
    start = tab + 1;
  }
  Position p;
  const std::optional<SplitPath> split = SplitKeyPath(fields[0]);
  p.root = split ? split->root : u"HKEY_CLASSES_ROOT";
  p.key = split ? split->subPath : u"";
  if (fields.size() > 1) p.key = fields[1];
  if (fields.size() > 2) p.valueName = fields[2];
  if (fields.size() > 3) p.valueData = fields[3];
  while (!p.key.empty() && p.key.back() == u'\\') p.key.pop_back();
  while (!p.key.empty() && p.key.front() == u'\\') p.key.erase(0, 1);
  return p;
}

bool IsWordCharacter(char16_t c) {
  return u_isalnum(c) != 0;
}

std::u16string Upper(std::u16string_view text) {
  std::u16string out(text);
  if (!out.empty()) ce::CharUpperBuffW(out.data(), static_cast<ce::DWORD>(out.size()));
  return out;
}

// The text of string data as tested and reported: up to the first null for single strings;
// multi-strings read as one line (separators but the last character become spaces).
std::optional<std::u16string> DataText(ce::DWORD type, const std::vector<ce::BYTE>& bytes,
                                       ce::DWORD size) {
  if (type != ce::REG_SZ && type != ce::REG_EXPAND_SZ && type != ce::REG_MULTI_SZ)
    return std::nullopt;
  std::u16string text(size / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * 2);
  if (type == ce::REG_MULTI_SZ) {
    for (size_t i = 0; i + 1 < text.size(); ++i)
      if (text[i] == 0) text[i] = u' ';
  }
  const size_t end = text.find(u'\0');
  if (end != std::u16string::npos) text.resize(end);
  return text;
}

std::u16string Child(const std::u16string& key, const std::u16string& name) {
  return key.empty() ? name : key + u"\\" + name;
}

std::u16string LastName(const std::u16string& key) {
  const size_t slash = key.rfind(u'\\');
  return slash == std::u16string::npos ? key : key.substr(slash + 1);
}

class Search {
 public:
  Search(std::u16string_view text, int32_t options)
      : text_(text), options_(options), whole_((options & kWholeWords) != 0) {}

  bool Matches(std::u16string_view subject) const { return SearchMatches(subject, text_, whole_); }

  // Step 1: the values of the key after the position, then its subkeys.
  std::optional<Position> Scan(const Position& at) {
    OpenedKey key(at.root + u"\\" + at.key);
    if (!key) return std::nullopt;
    ce::DWORD longestName = 0, longestData = 0;
    if (ce::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &longestName, &longestData, nullptr,
                             nullptr) != ce::ERROR_SUCCESS)
      return std::nullopt;
    if (options_ & (kValueNames | kValueData)) {
      bool skipping = !at.valueName.empty() || !at.valueData.empty();
      std::u16string name(longestName + 1, u'\0');
      std::vector<ce::BYTE> data(longestData + 2);
      for (ce::DWORD i = 0;; ++i) {
        ce::DWORD nameSize = longestName + 1, size = longestData + 2, type = 0;
        if (ce::RegEnumValueW(key.get(), i, name.data(), &nameSize, nullptr, &type, data.data(),
                              &size) != ce::ERROR_SUCCESS)
          break;
        const std::u16string valueName(name.data(), nameSize);
        bool testName = (options_ & kValueNames) != 0;
        if (skipping) {
          if (valueName != at.valueName) continue;
          skipping = false;
          if (!at.valueData.empty()) continue;
          testName = false;  // the name of the position's value matched already
        }
        if (testName && Matches(valueName)) return Position{at.root, at.key, valueName, {}};
        if (options_ & kValueData) {
          std::optional<std::u16string> text = DataText(type, data, size);
          if (text && Matches(*text)) return Position{at.root, at.key, valueName, *text};
        }
      }
    }
    if (options_ & (kSubKeyNames | kDescend)) {
      char16_t name[257];
      for (ce::DWORD i = 0;; ++i) {
        ce::DWORD size = 257;
        if (ce::RegEnumKeyExW(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ce::ERROR_SUCCESS)
          break;
        const std::u16string child = Child(at.key, std::u16string(name, size));
        if ((options_ & kSubKeyNames) && Matches(std::u16string_view(name, size)))
          return Position{at.root, child, {}, {}};
        if (options_ & kDescend) {
          if (std::optional<Position> found = Scan(Position{at.root, child, {}, {}})) return found;
        }
      }
    }
    return std::nullopt;
  }

  // Step 2: the next sibling of the key, or of its nearest parent that has one.
  std::optional<Position> MoveOn(Position at) {
    while (!at.key.empty()) {
      const std::u16string next = NextSubKey(at.root + u"\\" + at.key);
      if (next.empty()) {
        const size_t slash = at.key.rfind(u'\\');
        if (slash == std::u16string::npos) return std::nullopt;
        at.key.resize(slash);
        continue;
      }
      at.key = SplitKeyPath(next)->subPath;
      at.valueName.clear();
      at.valueData.clear();
      if ((options_ & kSubKeyNames) && Matches(LastName(at.key))) return at;
      if (options_ & kDescend) {
        if (std::optional<Position> found = Scan(at)) return found;
      }
    }
    return std::nullopt;
  }

 private:
  std::u16string text_;
  int32_t options_;
  bool whole_;
};

}  // namespace

bool SearchMatches(std::u16string_view subject, std::u16string_view text, bool wholeWords) {
  const std::u16string haystack = Upper(subject), needle = Upper(text);
  for (size_t at = haystack.find(needle); at != std::u16string::npos;
       at = haystack.find(needle, at + 1)) {
    if (!wholeWords) return true;
    const size_t end = at + needle.size();
    const bool before = at > 0 && IsWordCharacter(haystack[at - 1]);
    const bool after = end < haystack.size() && IsWordCharacter(haystack[end]);
    if (!before && !after) return true;
  }
  return false;
}

std::u16string RegistrySearch(std::u16string_view position, std::u16string_view text,
                              int32_t options) {
  const Position start = Parse(position);
  if (RootKeyHandle(start.root) == nullptr) return {};
  Search search(text, options);
  if ((options & kDescend) || start.key.empty()) {
    if (!OpenedKey(start.root + u"\\" + start.key)) return {};
    if (std::optional<Position> found = search.Scan(start)) return Format(*found);
  }
  if (std::optional<Position> found = search.MoveOn(start)) return Format(*found);
  return {};
}

}  // namespace tq

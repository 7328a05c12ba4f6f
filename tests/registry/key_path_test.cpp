// Key paths: root prefixes, the default root, trimmed backslashes and the length limit.
#include "system/key_path.h"

#include <gtest/gtest.h>

#include "system/registry_search.h"

namespace tq {
namespace {

TEST(KeyPath, Split) {
  struct Case {
    std::u16string_view path, root, subPath;
  };
  const Case cases[] = {
      {u"HKEY_LOCAL_MACHINE\\Software\\X", u"HKEY_LOCAL_MACHINE", u"Software\\X"},
      {u"Software\\X", u"HKEY_CLASSES_ROOT", u"Software\\X"},
      {u"HKEY_CURRENT_USER", u"HKEY_CURRENT_USER", u""},
      {u"HKEY_CURRENT_USERS\\x", u"HKEY_CURRENT_USER", u"S\\x"},  // no backslash required
      {u"HKEY_USERS\\a\\", u"HKEY_USERS", u"a"},
      {u"HKEY_CURRENT_CONFIG\\\\a\\\\", u"HKEY_CURRENT_CONFIG", u"\\a\\"},
      {u"hkey_local_machine\\x", u"HKEY_CLASSES_ROOT", u"hkey_local_machine\\x"},
      {u"", u"HKEY_CLASSES_ROOT", u""},
  };
  for (const Case& c : cases) {
    const std::optional<SplitPath> split = SplitKeyPath(c.path);
    ASSERT_TRUE(split.has_value());
    EXPECT_EQ(split->root, c.root);
    EXPECT_EQ(split->subPath, c.subPath);
  }
  EXPECT_FALSE(SplitKeyPath(std::u16string(261, u'a')).has_value());
  EXPECT_TRUE(SplitKeyPath(std::u16string(260, u'a')).has_value());
}

TEST(KeyPath, RootHandles) {
  EXPECT_EQ(RootKeyHandle(u"hkey_local_machine"), ce::HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RootKeyHandle(u"HKEY_PERFORMANCE_DATA"), nullptr);
}

TEST(SearchMatching, CaseAndWholeWords) {
  struct Case {
    std::u16string_view subject, text;
    bool plain, whole;
  };
  const Case cases[] = {
      {u"abc", u"ABC", true, true},
      {u"xabc abc", u"abc", true, true},  // a later occurrence may stand alone
      {u"abc1", u"abc", true, false},
      {u"(abc)", u"abc", true, true},
      {u"éabc", u"abc", true, false},  // accented letters are letters
      {u"ab", u"abc", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SearchMatches(c.subject, c.text, false), c.plain);
    EXPECT_EQ(SearchMatches(c.subject, c.text, true), c.whole);
  }
}

}  // namespace
}  // namespace tq

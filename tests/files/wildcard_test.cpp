// File-name masks as the device matches them.
#include "platform/wildcard_match.h"

#include <gtest/gtest.h>

namespace {

TEST(FileMask, MatchesAsTheDeviceDoes) {
  struct Case {
    const char16_t* mask;
    const char16_t* name;
    bool matches;
  } cases[] = {
      {u"*", u"anything.txt", true},      {u"*.*", u"noextension", true},
      {u"*.*", u"a.b.c", true},           {u"*.txt", u"Notes.TXT", true},
      {u"*.txt", u"notes.txt.bak", false}, {u"a?c", u"abc", true},
      {u"a?c", u"ac", false},             {u"a.*", u"a", true},
      {u"a.*", u"ab", false},             {u"*a*b*c*", u"xxaxxbxxcxx", true},
      {u"*a*b*c*", u"xxaxxcxxbxx", false}, {u"\u00e9t\u00e9*", u"\u00c9T\u00c9.doc", true},
      {u"", u"x", false},                 {u"?", u"", false},
      {u"**", u"", true},                 {u"file", u"FILE", true},
      {u"*?", u"a", true},                {u"*?", u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ce::MatchesFileMask(c.mask, c.name), c.matches)
        << std::string(c.mask, c.mask + std::char_traits<char16_t>::length(c.mask));
  }
}

TEST(FileMask, LongMasksStayLinear) {
  const std::u16string mask(2000, u'*');
  const std::u16string name(20000, u'a');
  EXPECT_TRUE(ce::MatchesFileMask(mask + u"b", name + u"b"));
  EXPECT_FALSE(ce::MatchesFileMask(mask + u"b", name));
}

}  // namespace

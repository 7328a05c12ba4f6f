// The direct URI parser against the regular-expression engine it replaces: all 18 groups and
// the match itself, on a table of URIs that exercise the engine's choices, on strings drawn
// at random from the characters the expression cares about, and on long URIs.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "frame/text.h"
#include "net/uri_extract.h"
#include "net/uri_parts.h"

namespace tq {
namespace {

std::string Describe(std::u16string_view uri, const UriMatch& m) {
  std::string out = "\"" + Utf16ToUtf8(uri) + "\"";
  if (!m.matched) return out + " no match";
  for (size_t g = 1; g <= kUriGroupCount; ++g)
    out += " " + std::to_string(g) + ":" + std::to_string(m.groups[g].start) + "," +
           std::to_string(m.groups[g].end);
  return out;
}

void ExpectSameAsEngine(std::u16string_view uri) {
  const UriMatch engine = MatchUriWithEngine(uri);
  const UriMatch direct = ParseUriParts(uri);
  EXPECT_EQ(direct, engine) << "direct " << Describe(uri, direct) << "\nengine "
                            << Describe(uri, engine);
}

TEST(UriParts, TrickyUrisAgreeWithTheEngine) {
  const char16_t* uris[] = {
      u"h:",
      u"ftp://u:p@h:8080/a/b/page.html?x=1#top",
      u"http://h:80x/",          // one slash taken, the rest read as a folder
      u"http://h:80x",           // port 80, then a file name
      u"u:p:q@h",                // scheme u, then the password swallows the ':'
      u"a:b:c@d", u"a@b@c", u"/a/b/c", u"/a.b/c.d", u"x.y.z",
      u"s:/x", u"s://x", u"s:///x", u"s:////x", u"s://@", u"s://u@", u"s://:@h",
      u"s://u:@h:/", u"s://u/p@h/f", u"http://user@host/", u"http://:secret@host",
      u"mailto:someone@example.org", u"mailto:a@b:25",
      u"http://h/archive.tar.gz", u"http://h/.hidden", u"http://h/dir./x.",
      u"http://h/a?b/c#d/e", u"http://h?q/x", u"http://h#f?g", u"http://h/?", u"http://h/#",
      u"http://h:8080", u"http://h:8080?q", u"http://h:8080#f", u"http://h:8080.x",
      u"http://h:@x", u"h:1a", u"h:1/a", u"h:a/b", u"1:2:3", u"a.b:c", u"a.b:80",
      u"s:?q", u"s:#f", u"?a@b", u"#a@b", u"a?b@c",
      u"http://h/p\u00e9.\u20ac",  // characters of the code page
      u"http://h/p\u0100q/r",       // outside it: reads as '?', which starts a query
      u"a\u0100b/c", u"\u0100@h", u"s:\u3000//x",
      u"http://h/a\nb", u"a\n:b", u"a\nb@c/d", u"x\n/y",  // newlines are ordinary
      u"s://u@h/f\tx y.z",
  };
  for (const char16_t* uri : uris) ExpectSameAsEngine(uri);
  // NUL characters are ordinary too.
  ExpectSameAsEngine(std::u16string(u"a\0b:c@d/e\0.f?\0#\0", 17));
  ExpectSameAsEngine(std::u16string(u"\0:\0/\0", 5));
}

TEST(UriParts, SurprisingReadings) {
  // The user takes the longest run, so the password holds every later ':'.
  UriMatch m = ParseUriParts(u"s://u:p:q@h");
  EXPECT_EQ(m.groups[4], (UriSpan{4, 5}));
  EXPECT_EQ(m.groups[5], (UriSpan{6, 9}));
  // Optional groups that match nothing still take part: host and path of an empty URI.
  m = ParseUriParts(u"");
  ASSERT_TRUE(m.matched);
  EXPECT_EQ(m.groups[6], (UriSpan{0, 0}));
  EXPECT_EQ(m.groups[9], (UriSpan{0, 0}));
  EXPECT_FALSE(m.groups[12].tookPart());
  // The folder runs to the last '/', past a '?' and a '#'.
  m = ParseUriParts(u"h/a?b#c/d");
  EXPECT_EQ(m.groups[10], (UriSpan{1, 8}));
  EXPECT_FALSE(m.groups[15].tookPart());
  // Not every text matches.
  EXPECT_FALSE(ParseUriParts(u"a@@/").matched);
  EXPECT_FALSE(ParseUriParts(u"@@/").matched);
}

TEST(UriParts, EveryShortStringOfTheSpecialCharactersAgreesWithTheEngine) {
  const std::u16string alphabet = u":/@.?#a1";
  for (size_t length = 0; length <= 5; ++length) {
    std::vector<size_t> digits(length, 0);  // the string's letters, counted in base 8
    bool more = true;
    while (more) {
      std::u16string uri(length, u' ');
      for (size_t i = 0; i < length; ++i) uri[i] = alphabet[digits[i]];
      ExpectSameAsEngine(uri);
      size_t k = 0;
      while (k < length && ++digits[k] == alphabet.size()) digits[k++] = 0;
      more = k < length;
    }
  }
}

TEST(UriParts, RandomStringsAgreeWithTheEngine) {
  const std::u16string alphabet =
      std::u16string(u":::////@@@..?#0123456789abcxyzAZ-_%+~ \n\t\u00e9\u20ac\u0100\u3000") + u'\0';
  std::mt19937 rng(20261206);
  std::uniform_int_distribution<size_t> length(0, 40);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  size_t failures = 0;
  size_t matched = 0;
  constexpr int kStrings = 300000;
  for (int i = 0; i < kStrings && failures < 10; ++i) {
    std::u16string uri(length(rng), u' ');
    for (char16_t& c : uri) c = alphabet[pick(rng)];
    const UriMatch engine = MatchUriWithEngine(uri);
    const UriMatch direct = ParseUriParts(uri);
    matched += engine.matched;
    if (direct != engine) {
      ++failures;
      ADD_FAILURE() << "direct " << Describe(uri, direct) << "\nengine " << Describe(uri, engine);
    }
  }
  // Both answers occur often enough for the comparison to mean something.
  EXPECT_GT(matched, kStrings / 2);
  EXPECT_LT(matched, kStrings - kStrings / 100);
  std::printf("%zu of %d random strings match\n", matched, kStrings);
}

TEST(UriParts, LongUrisAgreeWithTheEngine) {
  std::u16string folder;
  for (int i = 0; i < 400; ++i) folder += u"/seg:" + std::u16string(i % 3 + 1, u'@');
  ExpectSameAsEngine(u"https://u:p@example.org:443" + folder + u"/file.tar.gz?k=v#f");
  ExpectSameAsEngine(u"https://example.org" + folder + u"x:1");
  ExpectSameAsEngine(std::u16string(3000, u'@') + u"/x");
  ExpectSameAsEngine(std::u16string(3000, u':') + u"/x");
  ExpectSameAsEngine(u"s:" + std::u16string(100000, u'/') + u"@h/x");
}

TEST(UriParts, VeryLongUrisTakeLinearTime) {
  // Four million units: any pass over the text that repeats per position would not finish.
  const size_t n = 4'000'000;
  std::u16string uri = u"s://" + std::u16string(n, u'u') + u"@h:1" + std::u16string(n, u'/');
  UriMatch m = ParseUriParts(uri);
  ASSERT_TRUE(m.matched);
  const int64_t at = 4 + static_cast<int64_t>(n);
  EXPECT_EQ(m.groups[3], (UriSpan{4, at + 1}));
  EXPECT_EQ(m.groups[6], (UriSpan{at + 1, at + 2}));
  EXPECT_EQ(m.groups[8], (UriSpan{at + 3, at + 4}));
  EXPECT_EQ(m.groups[10], (UriSpan{at + 4, static_cast<int64_t>(uri.size())}));
  uri = std::u16string(n, u'@') + u"@/";
  EXPECT_FALSE(ParseUriParts(uri).matched);
  uri = std::u16string(n, u'a') + u".b" + std::u16string(n, u'?');
  m = ParseUriParts(uri);
  EXPECT_EQ(m.groups[6], (UriSpan{0, static_cast<int64_t>(n) + 2}));
  EXPECT_EQ(m.groups[16].end - m.groups[16].start, static_cast<int64_t>(n) - 1);
}

}  // namespace
}  // namespace tq

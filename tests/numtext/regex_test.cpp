// Pattern matching over the GNU engine: whole-text matches and captured groups against
// regexec called directly, the compile fallbacks, the pattern cache, the cost estimate and the
// time bound, and the distribution of groups over variables.
#include <gtest/gtest.h>
#include <regex.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "frame/text.h"
#include "numtext/pattern_match.h"
#include "numtext/regex_cost.h"
#include "numtext/regex_matcher.h"

namespace tq {
namespace {

// The oracle: POSIX extended syntax through regcomp/regexec, the whole text required by
// anchoring the pattern inside a group of its own (so its groups shift by one).
struct OracleMatch {
  bool matched = false;
  std::vector<std::pair<int, int>> groups;  // groups 1..n of the pattern
};

OracleMatch Oracle(const std::string& pattern, const std::string& text) {
  OracleMatch out;
  regex_t re;
  const std::string anchored = "^(" + pattern + ")$";
  if (regcomp(&re, anchored.c_str(), REG_EXTENDED) != 0) return out;
  std::vector<regmatch_t> m(re.re_nsub + 1);
  out.matched = regexec(&re, text.c_str(), m.size(), m.data(), 0) == 0;
  for (size_t i = 2; out.matched && i < m.size(); ++i)
    out.groups.emplace_back(static_cast<int>(m[i].rm_so), static_cast<int>(m[i].rm_eo));
  regfree(&re);
  return out;
}

std::u16string U(const std::string& s) { return Cp1252ToUtf16(s); }

TEST(RegexMatcher, AgreesWithRegexecOnTheCommonSyntax) {
  const std::vector<std::string> patterns = {
      "a(b)c", "(a|b)*c", "([0-9]+)-([0-9]+)", "[[:alpha:]]+([[:digit:]]{2,3})?", "(x)?y",
      "(ab|a)(bc|c)?", "[^ ]+ (.*)", "(a*)(a*)", "((a)|(b))+", "h(e|a)llo{1,2}", "",
      "([[:upper:]][[:lower:]]*) ([[:upper:]][[:lower:]]*)", ".*(needle).*"};
  const std::vector<std::string> subjects = {
      "abc", "b", "ababc", "12-345", "abc12", "abc1234", "y", "xy", "abc", "ab", "word rest of it",
      "aaa", "abab", "hallo", "helloo", "", "Jean Dupont", "hay needle hay", "needle"};
  for (const std::string& p : patterns) {
    RegexMatcher m;
    ASSERT_EQ(m.Compile(U(p), false), 0) << p;
    for (const std::string& s : subjects) {
      const OracleMatch want = Oracle(p.empty() ? "()" : p, s);
      const bool got = m.MatchWhole(U(s));
      EXPECT_EQ(got, want.matched) << p << " on " << s;
      if (!got || p.empty()) continue;
      ASSERT_EQ(m.groupCount(), want.groups.size()) << p;
      for (size_t i = 0; i < want.groups.size(); ++i) {
        const auto g = m.group(i + 1);
        const std::pair<int, int> have =
            g ? std::make_pair(static_cast<int>(g->first), static_cast<int>(g->second))
              : std::make_pair(-1, -1);
        EXPECT_EQ(have, want.groups[i]) << p << " on " << s << " group " << i + 1;
      }
    }
  }
}

TEST(RegexMatcher, SyntaxBitsOfTheMatcher) {
  struct Case {
    const char16_t* pattern;
    const char16_t* text;
    bool escapes, matches;
  };
  const Case cases[] = {
      {u"a.c", u"a\nc", false, true},          // '.' matches a newline
      {u"a)", u"a)", false, true},             // a lone ')' is ordinary
      {u"[\\]]x", u"]x", true, true},          // backslash escapes inside a list
      {u"[\\]]x", u"\\]x", false, true},       // without: '\' is a member, then ']'
      {u"a{2}", u"aa", false, true},
      {u"a\\{2\\}", u"a{2}", false, true},
      {u"caf\u00e9", u"caf\u00e9", false, true},      // through code page 1252
      {u"x.y", u"x\u20acy", false, true},              // the euro sign is one byte
      {u"x.y", u"x\U0001F600y", false, false},         // two units, two '?'
      {u"x..y", u"x\U0001F600y", false, true},
  };
  for (const Case& c : cases) {
    RegexMatcher m;
    ASSERT_EQ(m.Compile(c.pattern, c.escapes), 0) << Utf16ToUtf8(c.pattern);
    EXPECT_EQ(m.MatchWhole(c.text), c.matches) << Utf16ToUtf8(c.pattern);
  }
}

TEST(CompileForMatch, FallbackAndTrace) {
  RegexMatcher m;
  CompileForMatch(m, u"[\\d]+", false, nullptr);  // '\' and ']': compiled with escapes
  EXPECT_TRUE(m.compiled());
  EXPECT_TRUE(m.MatchWhole(u"ddd"));
  CompileForMatch(m, u"[[:foo:]]\\", false, nullptr);
  EXPECT_FALSE(m.compiled());
  EXPECT_EQ(m.engineError(), REG_ECTYPE);
  EXPECT_FALSE(m.MatchWhole(u""));
  CompileForMatch(m, u"", false, nullptr);  // empty means ".*"
  EXPECT_TRUE(m.MatchWhole(u"anything\nat all"));
  CompileForMatch(m, u"(", false, nullptr);
  EXPECT_EQ(m.engineError(), REG_EPAREN);
}

TEST(PatternCache, ReusesAndEvicts) {
  const auto first = AcquirePattern("cache-(a)", kRegexSyntax);
  EXPECT_EQ(AcquirePattern("cache-(a)", kRegexSyntax), first);
  EXPECT_NE(AcquirePattern("cache-(a)", kRegexSyntaxEscapesInLists), first);
  for (size_t i = 0; i < kPatternCacheSize; ++i)
    AcquirePattern("other-" + std::to_string(i), kRegexSyntax);
  EXPECT_NE(AcquirePattern("cache-(a)", kRegexSyntax), first);
  EXPECT_TRUE(AcquirePattern("cache-(a)", kRegexSyntax)->ok());
}

TEST(RegexCost, WeightsAndBackReferences) {
  EXPECT_EQ(EstimateRegexCost("abc", false).weight, 3u);
  EXPECT_EQ(EstimateRegexCost("a{10}", false).weight, 10u);
  EXPECT_EQ(EstimateRegexCost("(ab){1,100}", false).weight, 300u);
  EXPECT_GE(EstimateRegexCost("((a{1,100}){1,100}){1,50}", false).weight, 500000u);
  EXPECT_EQ(EstimateRegexCost("[a{1000}]", false).weight, 1u);
  EXPECT_EQ(EstimateRegexCost("[]{}]", false).weight, 1u);
  EXPECT_EQ(EstimateRegexCost("x{", false).weight, 2u);
  EXPECT_EQ(EstimateRegexCost("a+", false).weight, 2u);
  EXPECT_LE(EstimateRegexCost("(ab?)+", false).weight, 64u);
  EXPECT_GT(EstimateRegexCost("(a*){1,64}{1,64}", false).weight, kRegexCompileWeightLimit);
  EXPECT_GT(EstimateRegexCost("(a?){1,1000}", false).weight, kRegexCompileWeightLimit);
  EXPECT_GT(EstimateRegexCost(std::string(30, '+'), false).weight, kRegexCompileWeightLimit);
  EXPECT_GT(EstimateRegexCost("??" + std::string(30, '+'), false).weight, kRegexCompileWeightLimit);
  EXPECT_GT(EstimateRegexCost("a|*" + std::string(30, '+'), false).weight, kRegexCompileWeightLimit);
  EXPECT_TRUE(EstimateRegexCost("(a)\\1", false).backReferences);
  EXPECT_FALSE(EstimateRegexCost("(a)\\.", false).backReferences);
  EXPECT_LE(EstimateRegexCost(std::string(100, '('), false).weight, 200u);
  const RegexCost huge = EstimateRegexCost("((((a{32767}){32767}){32767}){32767})", false);
  EXPECT_GT(huge.weight, kRegexCompileWeightLimit);
}

TEST(RegexBounds, HeavyPatternsAreRefusedAndSlowMatchesStopped) {
  RegexMatcher m;
  EXPECT_EQ(m.Compile(u"((a{1,100}){1,100}){1,50}", false), -1);
  EXPECT_EQ(m.engineError(), REG_ESIZE);

  // Back-references run in a helper process: a fast one gives its groups back.
  ASSERT_EQ(m.Compile(u"(a+)b\\1", false), 0);
  EXPECT_TRUE(m.MatchWhole(u"aabaa"));
  EXPECT_EQ(m.group(1), std::make_pair(size_t{0}, size_t{2}));
  EXPECT_FALSE(m.MatchWhole(u"aaba"));
  EXPECT_FALSE(m.timedOut());

  // An exponential one is stopped at the time limit.
  ASSERT_EQ(m.Compile(u"(.*)(.*)(.*)(.*)(.*)\\5\\4\\3\\2\\1x", false), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(m.MatchWhole(std::u16string(400, u'a')));
  const auto spent = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(m.timedOut());
  EXPECT_LT(spent, std::chrono::milliseconds(kMatchTimeLimitMs + 1500));
}

TEST(DistributeGroups, StopsAtAbsentGroupsAndChecksTheRest) {
  RegexMatcher m;
  ASSERT_EQ(m.Compile(u"(a)(x)?(c)", false), 0);
  ASSERT_TRUE(m.MatchWhole(u"ac"));
  std::map<size_t, std::u16string> got;
  auto record = [&got](size_t i, std::u16string_view t) {
    got[i] = std::u16string(t);
    return true;
  };
  EXPECT_TRUE(DistributeGroups(m, u"ac", 3, record));
  EXPECT_EQ(got, (std::map<size_t, std::u16string>{{1, u"a"}}));  // stops at group 2
  got.clear();
  EXPECT_FALSE(DistributeGroups(m, u"ac", 1, record));  // group 3 took part beyond
  ASSERT_EQ(m.Compile(u"(a)(b)", false), 0);
  ASSERT_TRUE(m.MatchWhole(u"ab"));
  got.clear();
  EXPECT_TRUE(DistributeGroups(m, u"ab", 5, record));
  EXPECT_EQ(got, (std::map<size_t, std::u16string>{{1, u"a"}, {2, u"b"}}));
}

}  // namespace
}  // namespace tq

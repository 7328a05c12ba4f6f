// The mask tokenizer: table order, the three token ranges, the "L" rule, backslashes, and the
// questions asked about whole masks.
#include "datetime/date_mask_tokens.h"

#include <gtest/gtest.h>

#include <vector>

#include "datetime/date_mask_compiled.h"

namespace {

using tq::TokenRange;

std::vector<int> Codes(std::u16string_view mask, TokenRange range) {
  std::vector<int> codes;
  size_t position = 0;
  for (tq::MaskToken t = tq::NextMaskToken(mask, position, range); t.code != 0;
       t = tq::NextMaskToken(mask, position, range))
    codes.push_back(t.code);
  return codes;
}

TEST(MaskTokens, FirstEntryInTableOrderWinsAndTheDayInitialRule) {
  struct Case {
    std::u16string_view mask;
    TokenRange range;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {u"JJ/MM/AAAA", TokenRange::kDate, {3, 1, 14, 1, 24}},
      {u"DD/MM/YYYY", TokenRange::kDate, {3, 1, 14, 1, 24}},
      {u"J/M/AA", TokenRange::kDate, {2, 1, 13, 1, 23}},
      {u"AAA", TokenRange::kDate, {23, 1}},  // "AA" then a literal "A"
      {u"MMMMM", TokenRange::kDate, {19, 13}},
      {u"Mmmm Mmm mmmm mmm MMMm MMm", TokenRange::kDate, {20, 1, 16, 1, 21, 1, 17, 1, 22, 1, 18}},
      {u"JJJJ Jjjj jjjj JJJj", TokenRange::kDate, {9, 1, 10, 1, 11, 1, 12}},
      {u"DDD Ddd ddd DDd", TokenRange::kDate, {5, 1, 6, 1, 7, 1, 8}},
      // In a date mask the time letters are literals; in a time mask "MM" is the minutes.
      {u"HH", TokenRange::kDate, {1, 1}},
      {u"HH:MM:SS:CC", TokenRange::kTime, {25, 1, 27, 1, 28, 1, 29}},
      {u"H:mm CCC AM AP PM", TokenRange::kTime, {26, 1, 27, 1, 30, 1, 31, 1, 31, 1, 31}},
      {u"JJ", TokenRange::kTime, {1, 1}},
      // A date-time mask: "MM" is the month, "mm" the minutes.
      {u"JJ/MM/AAAA HH:mm", TokenRange::kDateTime, {3, 1, 14, 1, 24, 1, 25, 1, 27}},
      {u"\\JJ", TokenRange::kDate, {1, 3}},  // the backslash, then "JJ" read normally
      {u"", TokenRange::kDate, {}},
      // "L", the day's initial, only alone or before a bar, a space or the end.
      {u"L", TokenRange::kDate, {4}},
      {u"L JJ", TokenRange::kDate, {4, 1, 3}},
      {u"L|JJ", TokenRange::kDate, {4, 1, 3}},
      {u"JJ L", TokenRange::kDate, {3, 1, 4}},
      {u"Lx", TokenRange::kDate, {1, 1}},
      {u"LJ", TokenRange::kDate, {1, 2}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Codes(c.mask, c.range), c.codes) << std::string(c.mask.begin(), c.mask.end());
}

TEST(MaskTokens, WidthClassesAndLengths) {
  size_t position = 0;
  tq::MaskToken t = tq::NextMaskToken(u"AAAA", position, TokenRange::kDate);
  EXPECT_EQ(t.widthClass, 4);
  EXPECT_EQ(position, 4u);
  position = 0;
  EXPECT_EQ(tq::NextMaskToken(u"JJJJ", position, TokenRange::kDate).widthClass, 0);
  position = 0;
  EXPECT_EQ(tq::NextMaskToken(u"CCC", position, TokenRange::kTime).widthClass, 3);
  position = 3;
  EXPECT_EQ(tq::NextMaskToken(u"CCC", position, TokenRange::kTime).code, 0);
  EXPECT_EQ(position, 3u);
}

TEST(MaskTokens, TwelveHourMarker) {
  for (std::u16string_view m : {u"HH:MM AM", u"H:MM AP", u"PM HH", u"AAAAMMJJ AM"})
    EXPECT_TRUE(tq::HasAmPmMarker(m)) << std::string(m.begin(), m.end());
  // In "AAAAMMJJ" the "AM" is followed by "M".
  for (std::u16string_view m : {u"AAAAMMJJ", u"AAAAMMJJHHmmSSCCC", u"HH:mm"})
    EXPECT_FALSE(tq::HasAmPmMarker(m)) << std::string(m.begin(), m.end());
}

TEST(MaskTokens, DateTimeFormats) {
  for (std::u16string_view f : {u"YYYYMMDDHHmmSS", u"YYYYMMDDHHmmSSCC", u"AAAAMMJJHHmmSSCC",
                                u"YYYYMMDDHHmmSSCCC", u"AAAAMMJJHHmmSSCCC", u"AAAAMMJJHHmmSS"})
    EXPECT_TRUE(tq::IsDateTimeFormat(f));
  for (std::u16string_view f : {u"AAAAMMJJ", u"HHMMSS", u"YYYYMMDDHHmm", u""})
    EXPECT_FALSE(tq::IsDateTimeFormat(f));
}

TEST(CompiledMasks, LeastRecentlyUsedStayValidForFifteenOthers) {
  const tq::CompiledMask& a = tq::CompileMask(u"JJ/MM/AAAA", TokenRange::kDate);
  std::vector<std::u16string> others;
  for (int i = 0; i < 15; ++i) others.push_back(u"JJ-" + std::u16string(1, u'a' + i));
  for (const std::u16string& m : others) tq::CompileMask(m, TokenRange::kDate);
  EXPECT_EQ(&tq::CompileMask(u"JJ/MM/AAAA", TokenRange::kDate), &a);  // a hit, now the newest
  for (const std::u16string& m : others) tq::CompileMask(m, TokenRange::kDate);  // all hits
  EXPECT_EQ(a.text, u"JJ/MM/AAAA");
  EXPECT_EQ(a.tokens.size(), 5u);
  EXPECT_TRUE(a.dayToken);
  EXPECT_FALSE(a.twelveHour);
  // A sixteenth mask replaces the least recently used one, which is now `a`; the range is
  // part of the key.
  const tq::CompiledMask& time = tq::CompileMask(u"JJ/MM/AAAA", TokenRange::kTime);
  EXPECT_EQ(&time, &a);
  EXPECT_EQ(time.tokens.size(), 9u);  // "MM" is the minutes there
}

}  // namespace

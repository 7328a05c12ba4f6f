// Insertion points of message texts and the diagnostics' printf.
#include <gtest/gtest.h>

#include "frame/message_format.h"

namespace {

using namespace tq;

TEST(FormatInserts, InsertionPointsAndSpecs) {
  const MessageArg args[] = {MessageArg(u"file.txt"), MessageArg(int32_t{-42}),
                             MessageArg(int64_t{1234567890123}), MessageArg(uint32_t{255}),
                             MessageArg(2.5)};
  struct Case {
    std::u16string_view format;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"%1", u"file.txt"},
      {u"[%1!s!]", u"[file.txt]"},
      {u"%2", u"-42"},
      {u"%2!d!", u"-42"},
      {u"%3!I64d!", u"1234567890123"},
      {u"%4!x! %4!X! %4!04u!", u"ff FF 0255"},
      {u"%5!.2f!", u"2.50"},
      {u"100%% of %1", u"100% of file.txt"},
      {u"a%nb", u"a\r\nb"},
      {u"stop%0here", u"stop"},
      {u"%9 missing", u"%9 missing"},
      {u"%1%2", u"file.txt-42"},
      {u"unterminated %1!d", u"unterminated file.txt!d"},
      {u"trailing %", u"trailing %"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatInserts(c.format, args), c.expected) << std::string(c.format.begin(),
                                                                        c.format.end());
}

TEST(Printf16, NarrowFormatWideResult) {
  EXPECT_EQ(Printf16("<%u>", 80001u), u"<80001>");
  EXPECT_EQ(Printf16("%s", "\xc3\xa9"), u"\u00e9");
  const std::string longText(1000, 'a');
  EXPECT_EQ(Printf16("%s", longText.c_str()).size(), 1000u);
}

}  // namespace

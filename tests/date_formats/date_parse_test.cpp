// Parsing through masks: StringToDate and StringToTime as their workers, the engine's width
// rules, names, AM/PM, two-digit years, strictness, and the completion of partial dates.
#include "datetime/date_parse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "datetime/date_mask.h"
#include "datetime/date_mask_compiled.h"
#include "datetime/date_parse_functions.h"
#include "tests/date_formats/test_settings.h"

namespace {

using tqtest::DateFormatTest;

using DateParseTest = DateFormatTest;

struct Case {
  std::u16string_view text, mask, expected;
};

TEST_F(DateParseTest, StringToDateWithMasks) {
  const Case cases[] = {
      {u"05/03/2024", u"JJ/MM/AAAA", u"20240305"},
      {u"05/03/2024", u"jj/mm/aaaa", u"20240305"},
      {u"05/03/2024", u"dd/mm/yyyy", u"20240305"},
      {u"5/3/2024", u"J/M/AAAA", u"20240305"},
      {u"15/11/2024", u"J/M/AAAA", u"20241115"},
      {u"05/03/24", u"JJ/MM/AA", u"20240305"},
      {u"05/03/51", u"JJ/MM/AA", u"19510305"},  // two-digit years pivot at 50
      {u"05/03/50", u"JJ/MM/AA", u"20500305"},
      {u"2024-03-05", u"AAAA-MM-JJ", u"20240305"},
      {u"05 mars 2024", u"JJ MMMM AAAA", u"20240305"},
      {u"05 MARS 2024", u"JJ MMMM AAAA", u"20240305"},  // names ignore case
      {u"5 mars 2024", u"J MMMM AAAA", u"20240305"},
      {u"05 mars 2024", u"JJ MMM AAAA", u"20240305"},  // abbreviated falls back to full
      {u"05 déc. 2024", u"JJ MMM. AAAA", u"20241205"},
      {u"mardi 05 mars 2024", u"JJJJ JJ MMMM AAAA", u"20240305"},
      {u"03/2024", u"MM/AAAA", u"20240301"},  // no day token: the first of the month
      {u"05/03/2024 14:30", u"JJ/MM/AAAA HH:mm", u"20240305143000000"},
      {u"05/03/2024 2:30", u"JJ/MM/AAAA H:mm", u"20240305023000000"},
      {u"05/03", u"JJ/MM/AAAA", u""},               // input ends before the year
      {u"05/xx/2024", u"JJ/MM/AAAA", u""},          // not a number
      {u"05-03-2024", u"JJ/MM/AAAA", u"20240305"},  // separators are not compared
      {u"05/03/2024X", u"JJ/MM/AA", u""},           // strict: the year ends the mask, not the text
      {u"2024-03T05", u"AAAA-MMTJJ", u"20240305"},
      {u"2024-03x05", u"AAAA-MMTJJ", u""},  // strict: a mask letter must be in the input
      {u"2024T05", u"AAAATJJ", u""},        // a day and a year without a month
  };
  for (const Case& c : cases)
    EXPECT_EQ(tq::StringToDate(c.text, c.mask, tq::RegionalSettings()), c.expected)
        << std::string(c.text.begin(), c.text.end());
  EXPECT_EQ(tq::StringToDate(u"05/03/2024", std::nullopt, tq::RegionalSettings()), u"20240305");
  EXPECT_EQ(tq::StringToDate(u"", u"JJ", tq::RegionalSettings()), u"");
}

TEST_F(DateParseTest, PartialDatesTakeTheDevicesUtcMonthAndYear) {
  Configure("fr-FR", "Pacific/Kiritimati", "2024-01-01T05:00:00");  // UTC: 2023-12-31
  EXPECT_EQ(tq::StringToDate(u"05", u"JJ", tq::RegionalSettings()), u"20231205");
  EXPECT_EQ(tq::StringToDate(u"05/03", u"JJ/MM", tq::RegionalSettings()), u"20230305");
}

TEST_F(DateParseTest, StringToTimeWithMasks) {
  const Case cases[] = {
      {u"14:30", u"HH:MM", u"14300000"},
      {u"14:30:25:50", u"HH:MM:SS:CC", u"14302550"},
      {u"14:30", u"HH:MM:SS:CC", u"14300000"},  // input ends: the rest is zero
      {u"2:30 PM", u"H:MM AP", u"14300000"},
      {u"12:30 PM", u"H:MM AP", u"12300000"},
      {u"12:30 AM", u"H:MM AP", u"00300000"},
      {u"2:30 pm", u"H:MM AP", u"14300000"},
      {u"PM 02:30", u"AP HH:MM", u"14300000"},  // the hour is added to the PM hour
      {u"14h30", u"HHhMM", u"14300000"},
      {u"14:30:25.123", u"HH:MM:SS.CCC", u"14302512"},
      {u"xx:30", u"HH:MM", u""},
      {u"14", u"HH:MM", u""},  // minutes required
  };
  for (const Case& c : cases)
    EXPECT_EQ(tq::StringToTime(c.text, c.mask, tq::RegionalSettings()), c.expected)
        << std::string(c.text.begin(), c.text.end());
  EXPECT_EQ(tq::StringToTime(u"14:30:25:50", std::nullopt, tq::RegionalSettings()), u"14302550");
}

TEST_F(DateParseTest, EngineFieldRules) {
  tq::DateMask object(u"", true);
  tq::DateParts p;
  // A year typed "202_" reads as 2020; "__" is a missing field.
  ASSERT_TRUE(tq::ParseDateParts(object, u"__/03/202_", u"JJ/MM/AAAA", p, 0));
  EXPECT_EQ(p.year, 2020);
  EXPECT_EQ(p.day, 0xFFFF);
  // A one-digit day before a letter of the mask when the input is as long as the mask.
  ASSERT_TRUE(tq::ParseDateParts(object, u"5032024", u"JMMAAAA", p, 0));
  EXPECT_EQ(p.day, 5);
  EXPECT_EQ(p.month, 3);
  EXPECT_EQ(p.year, 2024);
  // Nothing known when the input runs out: false.
  EXPECT_FALSE(tq::ParseDateParts(object, u"", u"JJ", p, 0));
}

TEST_F(DateParseTest, AllZeroDateInADateTimeIsMissing) {
  tq::DateMask object(u"", true, u"YYYYMMDDHHmmSS");
  tq::DateParts p;
  ASSERT_TRUE(tq::ParseDateParts(object, u"00000000143000", u"YYYYMMDDHHmmSS", p, 0));
  EXPECT_EQ(p.year, 0xFFFF);
  EXPECT_EQ(p.month, 0xFFFF);
  EXPECT_EQ(p.day, 0xFFFF);
  EXPECT_EQ(p.hour, 14);
}

// Masks whose fields all have fixed places are read by a shortcut; on any input it must give
// what the token walk gives. The walk is reached by compiling the same mask without the plan.
TEST_F(DateParseTest, FixedLayoutShortcutAgreesWithTheTokenWalk) {
  struct FixedCase {
    std::u16string_view mask, inputFormat;
  };
  const FixedCase cases[] = {{u"JJ/MM/AAAA HH:mm:SS", u"AAAAMMJJHHmmSSCCC"},
                             {u"AAAAMMJJHHmmSSCCC", u"AAAAMMJJHHmmSSCCC"},
                             {u"AAAAMMJJ", u"AAAAMMJJ"},
                             {u"JJ.MM.AAAA", u"AAAAMMJJ"},
                             {u"HH:mm:SS CC", u"AAAAMMJJHHmmSSCCC"},
                             {u"MM-JJ-AAAA T HH", u"AAAAMMJJHHmmSSCCC"},
                             {u"JJ x JJ", u"AAAAMMJJ"}};
  const char16_t alphabet[] = u"0123456789000000000_ -+TtxaP:/";
  std::mt19937 random(20241206);
  for (const FixedCase& c : cases) {
    tq::DateMask object(u"", true, c.inputFormat);
    const auto planned = tq::CompileUncached(c.mask, object.tokenRange());
    auto walked = tq::CompileUncached(c.mask, object.tokenRange());
    ASSERT_TRUE(planned->fixedLayout) << std::string(c.mask.begin(), c.mask.end());
    const_cast<tq::CompiledMask&>(*walked).fixedLayout = false;  // made non-const above
    for (int round = 0; round < 4000; ++round) {
      std::u16string input(c.mask);
      for (char16_t& ch : input)  // the mask's letters become digits, some characters change
        if (random() % 8 != 0) ch = (ch >= u'A' && ch <= u'Z') ? u'0' + random() % 10 : ch;
        else ch = alphabet[random() % (std::size(alphabet) - 1)];
      input.resize(input.size() + 2 - random() % 5 % (input.size() + 1));
      for (uint32_t flags : {0u, tq::kParseStrict}) {
        tq::DateParts a{}, b{};
        const bool readA = tq::ParseDateParts(object, input, *planned, a, flags);
        const bool readB = tq::ParseDateParts(object, input, *walked, b, flags);
        ASSERT_EQ(readA, readB) << std::string(input.begin(), input.end());
        ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << std::string(input.begin(), input.end());
      }
    }
  }
  EXPECT_FALSE(tq::CompileUncached(u"J/MM/AAAA", tq::TokenRange::kDate)->fixedLayout);
  EXPECT_FALSE(tq::CompileUncached(u"JJ/MM/AA", tq::TokenRange::kDate)->fixedLayout);
  EXPECT_FALSE(tq::CompileUncached(u"HH:mm AP", tq::TokenRange::kDateTime)->fixedLayout);
}

}  // namespace

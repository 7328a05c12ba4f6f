// Durations: the plain forms, letter masks, unit masks and the relative-duration phrases.
#include "datetime/duration.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "datetime/duration_functions.h"
#include "datetime/duration_relative.h"
#include "datetime/duration_unit_mask.h"
#include "tests/date_formats/test_settings.h"

namespace {

using tqtest::DateFormatTest;
using DurationTest = DateFormatTest;

constexpr int64_t kDay = 86400000;

TEST(DurationForms, WriteAndReadBothForms) {
  struct Case {
    int64_t duration;
    std::u16string_view milliseconds, centiseconds;
  };
  const Case cases[] = {
      {90061001, u"1010101001", u"101010100"},
      {-1000, u"-0000001000", u"-000000100"},
      {0, u"0000000000", u"000000000"},
      {999, u"0000000999", u"0000000100"},  // 995..999 ms print 100 centiseconds
      {994, u"0000000994", u"000000099"},
      {123 * kDay + 1, u"123000000001", u"12300000000"},
      {std::numeric_limits<int64_t>::min(), u"-106751991167071255808", u"-10675199116707125581"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tq::FormatDurationText(c.duration, false), c.milliseconds);
    EXPECT_EQ(tq::FormatDurationText(c.duration, true), c.centiseconds);
    EXPECT_EQ(tq::ParseDurationText(c.milliseconds, false), c.duration);
  }
}

TEST(DurationForms, ReadingSignsAndShortTexts) {
  EXPECT_EQ(tq::ParseDurationText(u"0000001000", false), 1000);
  EXPECT_EQ(tq::ParseDurationText(u"000001000", false), 0);  // 9 characters: too short
  EXPECT_EQ(tq::ParseDurationText(u"000000100", true), 1000);
  EXPECT_EQ(tq::ParseDurationText(u"+0000001000", false), 1000);
  EXPECT_EQ(tq::ParseDurationText(u"\uFF0D0000001000", false), -1000);
  EXPECT_EQ(tq::ParseDurationText(u"\uFF0B0000001000", false), 1000);
  EXPECT_EQ(tq::ParseDurationText(u"", false), 0);
  EXPECT_EQ(tq::StringToDurationByForm(u"101010100", 1), 90061000);
  EXPECT_EQ(tq::DurationToStringByForm(90061001, 7), u"1010101001");
  // A day count beyond a duration's range reads as the largest one; nothing overflows.
  tq::ParseDurationText(std::u16string(200, u'9'), false);
}

TEST(DurationLetterMasks, WriteWithFrenchAndEnglishLetters) {
  const tq::DurationLetters french{u'J', u'H', u'M', u'S', u'L'};
  const tq::DurationLetters english{u'D', u'H', u'M', u'S', u'L'};
  struct Case {
    int64_t duration;
    std::u16string_view mask, expected;
  };
  const Case cases[] = {
      {26 * 3600000LL, u"HH:MM:SS", u"26:00:00"},  // no day letter: hours include days
      {26 * 3600000LL, u"J HH:MM:SS", u"1 02:00:00"},
      {26 * 3600000LL, u"D HH", u"1 02"},
      {-90061123, u"+J HH:MM:SS.LLL", u"-1 01:01:01.123"},
      {90061123, u"+J HH:MM:SS.LLL", u"1 01:01:01.123"},
      {1123, u"SS.LL", u"01.12"},
      {1123, u"SS.L", u"01.1"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tq::FormatLetterMask(c.duration, c.mask, french), c.expected);
  EXPECT_EQ(tq::FormatLetterMask(26 * 3600000LL, u"D HH", english), u"1 02");
}

TEST(DurationLetterMasks, ReadFromTheRight) {
  const tq::DurationLetters l{u'J', u'H', u'M', u'S', u'L'};
  struct Case {
    std::u16string_view text, mask;
    int64_t expected;
  };
  const Case cases[] = {
      {u"26:00:00", u"HH:MM:SS", 26 * 3600000LL},
      {u"12 01:01:01.123", u"J HH:MM:SS.LLL", 12 * kDay + 3661123},
      {u"-1 00:00:00", u"+J HH:MM:SS", -kDay},
      {u"1 00:00:00", u"+J HH:MM:SS", kDay},
      {u"01.12", u"SS.LL", 1120},
      {u"01.1", u"SS.L", 1100},
      {u"", u"HH:MM", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tq::ParseLetterMask(c.text, c.mask, l), c.expected)
        << std::string(c.text.begin(), c.text.end());
}

TEST(DurationUnitMasks, MostSignificantUnitsFirst) {
  const std::u16string_view standard = u"+2J j HH h MM m SS s CC";
  struct Case {
    int64_t duration;
    std::u16string_view mask, expected;
  };
  const Case cases[] = {
      {kDay + 2 * 3600000 + 3 * 60000, standard, u"1 j 02 h "},
      {90000, standard, u"01 m 30 s "},
      {500, standard, u"00 s 50"},
      {5400000, u"+2HH:MM", u"01:30 m"},
      {5400000, u"+0HH:MM", u"01:30 m"},  // 0 counts as 5
      {-5400000, u"+2HH:MM", u"-01:30 m"},
      {26 * 3600000LL, u"+1HH", u"26 h"},  // no day token: hours include days
      {1500, u"+3SS.CCC", u"01.500 ms"},
      {1500, u"+3SS.00C", u"01.500 ms"},
      {1050, u"+3SS.00C", u"01.50 ms"},
      {50, u"+3SS.00C", u"50 ms"},  // with "00C", zero seconds are skipped
      {999, u"+3SS.CC", u"00.100 cs"},
      {0, u"+2HH:MM", u""},
      // The keywords of the unit mask, and no mask at all.
      {90000, u"DureeProjetMask", u"01 m 30 s "},
      {90000, u"UseDatePickerDurationMask", u"01 m 30 s "},
      {90000, u"", u"0000130000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tq::DurationToStringByMask(c.duration, c.mask), c.expected)
        << std::string(c.mask.begin(), c.mask.end()) << " " << c.duration;
}

TEST(DurationUnitMasks, RecognisedByTheirDigit) {
  EXPECT_TRUE(tq::IsUnitMask(u"+2HH"));
  EXPECT_FALSE(tq::IsUnitMask(u"+HH"));
  EXPECT_FALSE(tq::IsUnitMask(u"+"));
}

TEST(RelativeDurations, PhraseChoice) {
  struct Case {
    int64_t days, ms, weeks, months, years;
    int phrase;
  };
  const int64_t h = 3600000;
  const Case cases[] = {
      {-1, -h, 0, 0, 0, 7},
      {1, h, 0, 0, 0, 15},
      {0, 0, 0, 0, 0, 11},
      {0, -30000, 0, 0, 0, 10},
      {0, 30000, 0, 0, 0, 12},
      {0, -30 * 60000, 0, 0, 0, 9},
      {0, 2 * h, 0, 0, 0, 14},
      {-3, -3 * kDay, 0, 0, 0, 6},
      {3, 3 * kDay, 0, 0, 0, 16},
      {-4, -4 * kDay, -1, 0, 0, 5},
      {9, 9 * kDay, 1, 0, 0, 17},
      {-15, -15 * kDay, -2, 0, 0, 4},
      {20, 20 * kDay, 3, 1, 0, 19},
      {-40, -40 * kDay, -6, -1, 0, 3},
      {-70, -70 * kDay, -10, -2, 0, 2},
      {70, 70 * kDay, 10, 2, 0, 20},
      {-300, -300 * kDay, -43, -10, -1, 1},
      {300, 300 * kDay, 43, 10, 1, 21},
      {-900, -900 * kDay, -128, -30, -3, 0},
      {900, 900 * kDay, 128, 30, 3, 22},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tq::ChooseRelativePhrase(c.days, c.ms, c.weeks, c.months, c.years), c.phrase)
        << c.days << " " << c.ms;
}

TEST(RelativeDurations, InsertsPluralsAndRemainders) {
  const tq::CompactDateTime earlier{1, 1, 2024, 0, 0, 0, false};
  std::array<int64_t, tq::kUnitCount> totals{0, 0, 2, 17, 408, 24480, 1468800};
  using M = tq::RelativeDurationMask;
  EXPECT_EQ(M::ExpandPhrase(u"il y a RJJ jour(s)", totals, -17, -17 * kDay, earlier),
            u"il y a 17 jours");
  EXPECT_EQ(M::ExpandPhrase(u"RWW week(s) and RDD day(s)", totals, 17, 17 * kDay, earlier),
            u"2 weeks and 3 days");
  totals = {0, 0, 0, 0, 1, 61, 3690};
  EXPECT_EQ(M::ExpandPhrase(u"RHH h Rmm min RSS s", totals, 0, 3690000, earlier),
            u"1 h 1 min 30 s");
  EXPECT_EQ(M::ExpandPhrase(u"in RHH hour(s)", totals, 0, 3690000, earlier), u"in 1 hour");
  totals = {1, 14, 0, 0, 0, 0, 0};
  EXPECT_EQ(M::ExpandPhrase(u"RYY an(s) RMM mois", totals, 425, 425 * kDay, earlier),
            u"1 an 2 mois");
  EXPECT_EQ(M::ExpandPhrase(u"yesterday", totals, 1, kDay, earlier), u"yesterday");
}

TEST_F(DurationTest, RelativeFormattingAgainstTheDeviceClock) {
  struct Case {
    std::u16string_view value, expected;
  };
  const Case cases[] = {
      {u"20240305", u"aujourd'hui"},
      {u"20240304", u"hier"},
      {u"20240306", u"demain"},
      {u"20240305095930", u"il y a 30 secondes"},
      {u"20240305100000", u"maintenant"},
      {u"20240305103000", u"dans 30 minutes"},
      {u"20240305060000", u"il y a 4 heures"},
      {u"20240303", u"la semaine dernière"},  // a Sunday: the week of 2024-02-26
      {u"20240307", u"dans 2 jours"},
      {u"20240308", u"dans 3 jours"},
      {u"20240320", u"dans 2 semaines"},
      {u"20240201", u"le mois dernier"},
      {u"20230305", u"l'année dernière"},
      {u"20270305", u"dans 3 ans"},
  };
  for (const Case& c : cases) {
    tq::RelativeDurationMask mask;
    std::u16string out;
    ASSERT_TRUE(mask.Format(c.value, out));
    EXPECT_EQ(out, c.expected) << std::string(c.value.begin(), c.value.end());
    EXPECT_EQ(mask.Kind(), 74);
  }
}

}  // namespace

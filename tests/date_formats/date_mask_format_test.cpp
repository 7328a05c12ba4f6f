// The formatting engine: every token code, missing fields, 12-hour mode, the three name
// sources, name styling and the lenient mask letters.
#include "datetime/date_mask_format.h"

#include <gtest/gtest.h>

#include <optional>

#include "datetime/date_mask.h"
#include "datetime/name_lookup.h"
#include "datetime/system_masks.h"
#include "tests/date_formats/test_settings.h"

namespace {

using tqtest::DateFormatTest;
using tqtest::FakeSettings;
using tqtest::SettingsOptions;

constexpr uint16_t kMissing = 0xFFFF;

// 2024-03-05 (a Tuesday) 14:07:09.045.
tq::DateParts Tuesday() {
  return {2024, 3, 2, 5, 14, 7, 9, 45};
}

std::u16string Engine(std::u16string_view mask, const tq::DateParts& parts, uint32_t flags = 0,
                      std::optional<std::u16string_view> input = u"AAAAMMJJHHmmSSCCC") {
  tq::DateMask object(mask, true, input);
  return tq::FormatDateParts(object, mask, parts, flags);
}

using DateMaskFormatTest = DateFormatTest;

// A mask printed from Tuesday() with the year, month, hour and minute given.
struct EngineCase {
  std::u16string_view mask, expected;
  uint16_t year = 2024, month = 3, hour = 14, minute = 7;
  uint32_t flags = 0;
};

TEST_F(DateMaskFormatTest, EveryTokenAndNameStyle) {
  const uint32_t lenient = tq::kFormatLenientLetters;
  const EngineCase cases[] = {
      {u"JJ/MM/AAAA", u"05/03/2024"},
      {u"J/M/AA", u"5/3/24"},
      {u"DD.MM.YYYY", u"05.03.2024"},
      {u"HH:mm:SS", u"14:07:09"},
      {u"H h mm", u"14 h 07"},
      {u"SS.CC", u"09.04"},
      {u"SS.CCC", u"09.045"},
      {u"x\\y", u"x\\y"},
      {u"", u""},
      {u"AAAAMMJJHHmmSSCCC", u"20240305140709045"},
      // A two-digit year drops the first two printed characters.
      {u"[AA]", u"[]", 5},
      {u"[AA]", u"[3]", 123},
      // A marker in the mask means a 12-hour clock.
      {u"HH:mm AM", u"12:30 AM", 2024, 3, 0, 30},
      {u"HH:mm AM", u"11:30 AM", 2024, 3, 11, 30},
      {u"HH:mm AM", u"12:30 PM", 2024, 3, 12, 30},
      {u"HH:mm AM", u"01:30 PM", 2024, 3, 13, 30},
      {u"HH:mm AM", u"11:30 PM", 2024, 3, 23, 30},
      {u"H:mm", u"0:07", 2024, 3, 0},  // no marker: 24-hour clock
      {u"H PM", u"12 AM", 2024, 3, 0},
      // Names from the library's messages, styled by the token.
      {u"JJJJ", u"mardi"},
      {u"Jjjj", u"Mardi"},
      {u"jjjj", u"mardi"},
      {u"JJJj", u"MARDI"},
      {u"JJJ", u"mar"},
      {u"Jjj", u"Mar"},
      {u"JJj", u"MAR"},
      {u"L", u"M"},
      {u"MMMM", u"mars"},
      {u"Mmmm", u"Mars"},
      {u"MMMm", u"MARS"},
      {u"MMM", u"mar"},
      {u"Mmm", u"Mar"},
      {u"MMm", u"MAR"},
      {u"DDDD DD MMMM YYYY", u"mardi 05 mars 2024"},
      // June and July keep four letters ("jui" counts in any case).
      {u"MMM", u"juin", 2024, 6},
      {u"MMM", u"juil", 2024, 7},
      {u"MMm", u"JUIL", 2024, 7},
      {u"MMM", u"jan", 2024, 1},
      // The lenient flag adds a full stop after an abbreviation, unless it is the whole name.
      {u"Jjj JJ Mmm", u"Mar. 05 Mar.", 2024, 3, 14, 7, lenient},
      {u"Mmm", u"Mai", 2024, 5, 14, 7, lenient},
      {u"MMm", u"MAR", 2024, 3, 14, 7, lenient},
  };
  for (const EngineCase& c : cases) {
    tq::DateParts p = Tuesday();
    p.year = c.year;
    p.month = c.month;
    p.hour = c.hour;
    p.minute = c.minute;
    EXPECT_EQ(Engine(c.mask, p, c.flags), c.expected) << std::string(c.mask.begin(), c.mask.end());
  }
  UseMessageLanguage(9);
  EXPECT_EQ(Engine(u"dddd mmmm", Tuesday()), u"tuesday march");
  EXPECT_EQ(Engine(u"DDDD MMMM", Tuesday()), u"Tuesday March");
}

TEST_F(DateMaskFormatTest, MissingFieldsPrintUnderscoresOrNothing) {
  const tq::DateParts none{kMissing, kMissing, kMissing, kMissing,
                           kMissing, kMissing, kMissing, kMissing};
  EXPECT_EQ(Engine(u"J/JJ/M/MM/AA/AAAA", none), u"_/__/_/__/__/____");
  EXPECT_EQ(Engine(u"H|HH|mm|SS|CC|CCC|AM", none), u"_|__|__|__|__|___|__");
  EXPECT_EQ(Engine(u"[JJJJ][JJJ][MMMM][MMM]", none), u"[][][__][__]");
}

TEST_F(DateMaskFormatTest, ProjectListsThenSystemLanguageThenMessages) {
  SettingsOptions project;
  project.hasDate = true;
  project.dayNames = u"Lu;Ma;Me;Je;Ve;Sa;Di";
  project.monthNames = u"M1;M2;;M4";  // March empty: falls through to the messages
  tq::DateMask object(u"", true);
  object.AttachSettings(FakeSettings(project));
  EXPECT_EQ(tq::FormatDayName(object, 2, 0, 31), u"Ma");
  EXPECT_EQ(tq::FormatDayName(object, 0, 0, 31), u"Di");
  EXPECT_EQ(tq::FormatMonthName(object, 2, 0, 31), u"M2");
  EXPECT_EQ(tq::FormatMonthName(object, 3, 0, 31), u"mars");
  EXPECT_EQ(tq::FormatMonthName(object, 12, 0, 31), u"décembre");  // the list is too short
  EXPECT_EQ(tq::FormatDayName(object, 7, 0, 31), u"");
  EXPECT_EQ(tq::FormatMonthName(object, 13, 0, 31), u"");

  SettingsOptions system = project;
  system.usesSystemLanguage = true;
  Configure("de-DE", "UTC", "2024-03-05T10:00:00");
  tq::DateMask german(u"", true);
  german.AttachSettings(FakeSettings(system));
  EXPECT_EQ(tq::FormatDayName(german, 2, 0, 31), u"Dienstag");
  EXPECT_EQ(tq::FormatMonthName(german, 3, 0, 31), u"März");
  EXPECT_EQ(tq::FormatMonthName(german, 3, tq::kStyleAbbreviated, 31), u"März");
}

TEST_F(DateMaskFormatTest, NamesAreCutToTheBufferCapacity) {
  SettingsOptions o;
  o.hasDate = true;
  o.monthNames = std::u16string(300, u'x');
  tq::DateMask object(u"", true);
  object.AttachSettings(FakeSettings(o));
  EXPECT_EQ(tq::FormatMonthName(object, 1, 0, 31).size(), 30u);
  EXPECT_EQ(tq::FormatMonthName(object, 1, 0, tq::kMonthNameFunctionCapacity).size(), 249u);
}

TEST_F(DateMaskFormatTest, LenientLettersKeepMinutesInDateTimeMasks) {
  struct Case {
    std::u16string_view mask, dateOnly, dateTime;
  };
  const Case cases[] = {
      {u"jj/mm/aaaa", u"JJ/MM/AAAA", u"JJ/mm/AAAA"},
      {u"dd/mm/yyyy", u"DD/MM/YYYY", u"DD/mm/YYYY"},
      {u"jjjj dd mmmm yy", u"JJJJ DD MMMM YY", u"JJJJ DD MMMM YY"},
      {u"Jjj jj", u"Jjj jj", u"Jjj jj"},  // a styled day name keeps "jj" as written
      {u"mmm mm", u"mmm mm", u"mmm mm"},  // a styled month name keeps "mm"
      {u"jj/mm/aaaa HH:mm", u"JJ/MM/AAAA HH:MM", u"JJ/mm/AAAA HH:mm"},
  };
  for (const Case& c : cases) {
    tq::RewrittenText date(c.mask), dateTime(c.mask);
    tq::RewriteLenientLetters(tq::DateMask(u"", true), date);
    tq::RewriteLenientLetters(tq::DateMask(u"", true, u"YYYYMMDDHHmmSSCC"), dateTime);
    EXPECT_EQ(date.view(), c.dateOnly);
    EXPECT_EQ(dateTime.view(), c.dateTime);
  }
}

TEST_F(DateMaskFormatTest, FormatDateReadsTheValueThenSetsTheDayOfWeek) {
  std::u16string out;
  EXPECT_TRUE(tq::FormatDate(tq::DateMask(u"JJJJ JJ/MM/AAAA", true), u"20240305", out, 0));
  EXPECT_EQ(out, u"mardi 05/03/2024");
  // An invalid date keeps its fields but has no day of week.
  EXPECT_TRUE(tq::FormatDate(tq::DateMask(u"[JJJJ] JJ/MM", true), u"20230229", out, 0));
  EXPECT_EQ(out, u"[] 29/02");
  EXPECT_TRUE(tq::FormatDate(tq::DateMask(u"JJ/MM/AAAA HH:mm", true, u"YYYYMMDDHHmmSSCC"),
                             u"2024030514302512", out, 0));
  EXPECT_EQ(out, u"05/03/2024 14:30");
}

}  // namespace

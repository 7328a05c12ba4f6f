// The calendar arithmetic checked day by day against independent references: the C++ standard
// library's calendar types for day numbers, dates, weekdays and leap years from 1583 to 9999,
// the C library's ISO 8601 week (strftime "%V"), a simple week count built from the standard
// calendar types, and Gauss's Easter rule.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>

#include "datetime/calendar_conversions.h"
#include "datetime/calendar_weeks.h"
#include "datetime/date_values.h"

namespace tq {
namespace {

using namespace std::chrono;

constexpr sys_days kDayZero = sys_days{1799y / December / 31};
const sys_days kFirst = sys_days{1583y / January / 1};
const sys_days kLast = sys_days{9999y / December / 31};

int32_t ReferenceDayNumber(sys_days d) {
  return static_cast<int32_t>((d - kDayZero).count());
}

// Week 1 starts on the Monday on or before January 1 when that day is a Monday to Thursday,
// else on the first Monday of the year; earlier days are week 0.
int32_t ReferenceSimpleWeek(const year_month_day& ymd) {
  const sys_days january1{ymd.year() / January / 1};
  const weekday w{january1};
  const sys_days firstMonday{ymd.year() / January / Monday[1]};
  const int isoDay = static_cast<int>(w.iso_encoding());  // Monday 1 .. Sunday 7
  const sys_days start = isoDay <= 4 ? january1 - days{isoDay - 1} : firstMonday;
  const auto offset = (sys_days{ymd} - start).count();
  return offset < 0 ? 0 : static_cast<int32_t>(offset / 7 + 1);
}

int32_t ReferenceIsoWeek(const year_month_day& ymd) {
  std::tm tm{};
  tm.tm_year = static_cast<int>(ymd.year()) - 1900;
  tm.tm_mon = static_cast<int>(static_cast<unsigned>(ymd.month())) - 1;
  tm.tm_mday = static_cast<int>(static_cast<unsigned>(ymd.day()));
  tm.tm_wday = static_cast<int>(weekday{sys_days{ymd}}.c_encoding());
  tm.tm_yday = static_cast<int>((sys_days{ymd} - sys_days{ymd.year() / January / 1}).count());
  char buffer[8];
  std::strftime(buffer, sizeof buffer, "%V", &tm);
  return std::atoi(buffer);
}

TEST(CalendarReference, DayNumbersDatesAndWeekdaysFrom1583To9999) {
  int64_t checked = 0;
  for (sys_days d = kFirst; d <= kLast; d += days{1}) {
    const year_month_day ymd{d};
    const int32_t y = static_cast<int>(ymd.year());
    const int32_t m = static_cast<int32_t>(static_cast<unsigned>(ymd.month()));
    const int32_t day = static_cast<int32_t>(static_cast<unsigned>(ymd.day()));
    const int32_t expected = ReferenceDayNumber(d);
    int32_t number = 0;
    ASSERT_TRUE(DateToDayNumber(day, m, y, number)) << y << "-" << m << "-" << day;
    ASSERT_EQ(number, expected) << y << "-" << m << "-" << day;
    int32_t backDay = 0, backMonth = 0, backYear = 0;
    ASSERT_TRUE(DayNumberToDate(expected, backDay, backMonth, backYear));
    ASSERT_EQ(backYear * 10000 + backMonth * 100 + backDay, y * 10000 + m * 100 + day);
    const weekday w{d};
    ASSERT_EQ(DayOfWeekIndex(number), static_cast<int>(w.c_encoding()));
    ASSERT_EQ(DayOfWeekNumber(number), static_cast<int>(w.iso_encoding()));
    ASSERT_TRUE(IsValidDateSilently(y, m, day));
    ++checked;
  }
  EXPECT_EQ(checked, 2994988 - (-79257) + 1);
}

TEST(CalendarReference, LeapYearsAndMonthLengthsFrom1583To9999) {
  for (int y = 1583; y <= 9999; ++y) {
    ASSERT_EQ(IsLeapYear(y), year{y}.is_leap()) << y;
    for (unsigned m = 1; m <= 12; ++m) {
      const unsigned length =
          static_cast<unsigned>(year_month_day_last{year{y} / month{m} / last}.day());
      ASSERT_EQ(MonthLength(static_cast<int32_t>(m), y), static_cast<int>(length));
    }
  }
}

TEST(CalendarReference, WeekNumbersFrom1583To9999) {
  for (sys_days d = kFirst; d <= kLast; d += days{1}) {
    const year_month_day ymd{d};
    const int32_t number = ReferenceDayNumber(d);
    ASSERT_EQ(SimpleWeekNumber(number), ReferenceSimpleWeek(ymd)) << number;
    // strftime's ISO week needs the previous year for early January: from 1584 on.
    if (ymd.year() >= 1584y) {
      ASSERT_EQ(IsoWeekNumber(number), ReferenceIsoWeek(ymd)) << number;
    }
  }
}

TEST(CalendarReference, FirstDayOfEveryWeekFrom1584To9998) {
  for (int y = 1584; y <= 9998; ++y) {
    // ISO: the Monday of week 1 is the Monday of the week holding January 4.
    const sys_days january4{year{y} / January / 4};
    const sys_days isoMonday = january4 - (weekday{january4} - Monday);
    EXPECT_EQ(FirstDayOfWeek(1, y, true), ReferenceDayNumber(isoMonday)) << y;
    EXPECT_EQ(FirstDayOfWeek(10, y, true), ReferenceDayNumber(isoMonday + weeks{9})) << y;
    // Simple: week 1 starts on the year's first Monday (January 1 itself when a Monday).
    const sys_days firstMonday{year{y} / January / Monday[1]};
    EXPECT_EQ(FirstDayOfWeek(1, y, false), ReferenceDayNumber(firstMonday)) << y;
    EXPECT_EQ(FirstDayOfWeek(0, y, false), ReferenceDayNumber(firstMonday - weeks{1})) << y;
  }
}

// Gauss's rule with Lichtenberg's secular terms: March day, possibly past 31.
int GaussEasterMarchDay(int y) {
  const int k = y / 100;
  const int m = 15 + (3 * k + 3) / 4 - (8 * k + 13) / 25;
  const int s = 2 - (3 * k + 3) / 4;
  const int a = y % 19;
  const int d = (19 * a + m) % 30;
  const int r = (d + a / 11) / 29;
  const int og = 21 + d - r;
  const int sz = 7 - (y + y / 4 + s) % 7;
  const int oe = 7 - (og - sz) % 7;
  return og + oe;
}

TEST(CalendarReference, EasterFrom1583To9999) {
  for (int y = 1583; y <= 9999; ++y) {
    const int marchDay = GaussEasterMarchDay(y);
    const int month = marchDay > 31 ? 4 : 3;
    const int day = marchDay > 31 ? marchDay - 31 : marchDay;
    ASSERT_EQ(EasterDate(y), FormatDateText(y, month, day)) << y;
    // Always a Sunday.
    ASSERT_EQ(weekday{sys_days{year{y} / month / day}}, Sunday) << y;
  }
  EXPECT_EQ(EasterDate(1582), u"");
  EXPECT_EQ(EasterDate(10000), u"");
  EXPECT_EQ(EasterDate(-2024), u"");
}

}  // namespace
}  // namespace tq

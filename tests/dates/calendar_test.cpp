// Calendar computations: week numbers outside the reference range, differences with their
// errors, age, spreadsheet serial numbers, and the precise clock's synchronisation rule.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "datetime/calendar_conversions.h"
#include "datetime/calendar_spans.h"
#include "datetime/calendar_weeks.h"
#include "datetime/clock.h"
#include "datetime/date_values.h"
#include "tests/dates/proxy_fixture.h"

namespace tq {
namespace {

using CalendarTest = tqtest::ProxyTest;

int32_t Day(const char16_t* text) {
  return DateTextToDayNumber(text, false, nullptr);
}

// Every day's week numbers are checked against references in calendar_reference_test.cpp;
// here only what lies outside the reference range.
TEST(Weeks, OutsideTheCalendarRange) {
  EXPECT_FALSE(SimpleWeekNumber(INT32_MIN).has_value());
  EXPECT_FALSE(IsoWeekNumber(INT32_MIN).has_value());
  int32_t yearOne = 0;
  ASSERT_TRUE(DateToDayNumber(1, 1, 1, yearOne));
  EXPECT_FALSE(IsoWeekNumber(yearOne).has_value());  // would need the year 0
  EXPECT_EQ(FirstDayOfWeek(53, 2020, true), Day(u"20201228"));
  EXPECT_FALSE(FirstDayOfWeek(1, -1, false).has_value());
  EXPECT_FALSE(FirstDayOfWeek(INT32_MAX, 2024, true).has_value());
  EXPECT_FALSE(FirstDayOfWeek(INT32_MIN, 2024, false).has_value());
}

TEST_F(CalendarTest, DateAndTimeDifferences) {
  EXPECT_EQ(DateDifference(u"20240101", u"20240305", proxy_), 64);
  EXPECT_EQ(DateDifference(u"20240305", u"20240101", proxy_), -64);
  EXPECT_EQ(DateDifference(u"15821004", u"15821015", proxy_), 1);
  EXPECT_EQ(TakeError(), 0u);
  for (const char16_t* bad : {u"2024010", u"20241301", u"00000101", u"15821010", u"2024O101"}) {
    EXPECT_EQ(DateDifference(bad, u"20240101", proxy_), -1);
    EXPECT_EQ(TakeError(), date_error::kDifferenceDate);
    EXPECT_EQ(DateDifference(u"20240101", bad, proxy_), -1);
    EXPECT_EQ(TakeError(), date_error::kDifferenceDate);
  }

  EXPECT_EQ(TimeDifference(u"12", u"13", proxy_), 360000);
  EXPECT_EQ(TimeDifference(u"23595999", u"", proxy_), -8639999);
  EXPECT_EQ(TakeError(), 0u);
  for (const char16_t* bad : {u"24", u"1260", u"120060", u"12:00"}) {
    EXPECT_EQ(TimeDifference(bad, u"12", proxy_), -1);
    EXPECT_EQ(TakeError(), date_error::kDifferenceTime);
  }
}

TEST_F(CalendarTest, DateTimeDifferenceText) {
  struct Case {
    const char16_t *a, *b, *result;
  } cases[] = {
      {u"2024010100000000", u"2024010200000001", u"+000000100000001"},
      {u"2024010200000001", u"2024010100000000", u"-000000100000001"},
      {u"20240101", u"20240101", u"+000000000000000"},
      {u"2024010112", u"2024010113302512", u"+000000001302512"},
      {u"00010101", u"99991231235959999", u"+365206023595999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateTimeDifference(c.a, c.b, proxy_), c.result);
    EXPECT_EQ(TakeError(), 0u);
  }
  for (const char16_t* bad : {u"2024", u"20240101x", u"2024010125", u"20240230"}) {
    EXPECT_EQ(DateTimeDifference(bad, u"20240101", proxy_), u"");
    EXPECT_EQ(TakeError(), date_error::kDifferenceDate);
  }
}

TEST(Age, YearsMonthsAndDays) {
  struct Case {
    const char16_t *date, *reference, *age;
  } cases[] = {
      {u"19800615", u"20240305", u"00430819"},  // borrows February of a leap year (29)
      {u"19800615", u"20230305", u"00420818"},  // ... of a common year (28)
      {u"20240305", u"20240305", u"00000000"},
      {u"20000229", u"20240228", u"00231130"},
      {u"20000229", u"20240229", u"00240000"},
      {u"20240131", u"20240301", u"00000100"},  // the date's day exceeds February's length
      {u"20231215", u"20240110", u"00000026"},  // borrows December
      {u"20240306", u"20240305", u""},          // after the reference
      {u"20240230", u"20240305", u""},
      {u"20240101", u"2024", u""},
      {u"00010101", u"99991231", u"99981130"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DateAge(c.date, c.reference), c.age) << std::u16string(c.reference).size();
}

TEST(Serial, BothDaySystems) {
  struct Case {
    const char16_t* dateTime;
    bool system1904;
    double serial;
  } cases[] = {
      {u"19000101", false, 1.0},
      {u"19000228", false, 59.0},
      {u"19000229", false, 60.0},
      {u"19000301", false, 61.0},
      {u"20240305120000", false, 45356.5},
      {u"18991231", false, -1.0},
      {u"19040101", true, 0.0},
      {u"19040102180000", true, 1.75},
      {u"19031231", true, -1.0},
      {u"19000229", true, -1.0},
      {u"2024", false, -1.0},
      {u"20241301", false, -1.0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(DateToSerial(c.dateTime, c.system1904), c.serial)
        << std::u16string(c.dateTime).size() << " " << c.system1904;

  EXPECT_EQ(SerialToDate(60, false), u"19000229000000000");
  EXPECT_EQ(SerialToDate(61, false), u"19000301000000000");
  EXPECT_EQ(SerialToDate(59.25, false), u"19000228060000000");
  EXPECT_EQ(SerialToDate(45356.5, false), u"20240305120000000");
  EXPECT_EQ(SerialToDate(0.999999999999, true), u"19040102000000000");  // rounds to midnight
  EXPECT_EQ(SerialToDate(0, true), u"19040101000000000");
  EXPECT_EQ(SerialToDate(0.5, false), u"");
  EXPECT_EQ(SerialToDate(-1, true), u"");
  EXPECT_EQ(SerialToDate(std::numeric_limits<double>::quiet_NaN(), false), u"");
  EXPECT_EQ(SerialToDate(std::numeric_limits<double>::infinity(), false), u"");
  EXPECT_EQ(SerialToDate(1e300, true), u"");

  // Every day of 1900..2100 goes there and back.
  for (int32_t n = Day(u"19000301"); n <= Day(u"21001231"); ++n) {
    const std::u16string text = DayNumberToDateText(n, u'\0', nullptr) + u"063000";
    for (bool system1904 : {false, true}) {
      const double serial = DateToSerial(text, system1904);
      if (serial < 0) continue;
      ASSERT_EQ(SerialToDate(serial, system1904), text + u"000") << n;
    }
  }
}

TEST(PreciseClock, FollowsTheTickCounterWithinTwoSeconds) {
  PreciseClockState state;
  EXPECT_EQ(AdvancePreciseClock(state, 36000000, 1000), 36000000u);  // first use synchronises
  EXPECT_EQ(AdvancePreciseClock(state, 36000000, 1250), 36000250u);  // the coarse clock lags
  EXPECT_EQ(AdvancePreciseClock(state, 36001000, 2100), 36001100u);
  EXPECT_EQ(AdvancePreciseClock(state, 36010000, 3000), 36010000u);  // 7.998 s apart: resync
  EXPECT_EQ(state.syncTick, 3000u);
  EXPECT_EQ(AdvancePreciseClock(state, 36008000, 3000), 36010000u);  // exactly 2 s: kept
  EXPECT_EQ(AdvancePreciseClock(state, 36007999, 3000), 36007999u);  // beyond: resync
  // The tick counter wraps: unsigned arithmetic keeps the difference.
  PreciseClockState wrapping;
  EXPECT_EQ(AdvancePreciseClock(wrapping, 1000, 0xFFFFFF00u), 1000u);
  EXPECT_EQ(AdvancePreciseClock(wrapping, 1300, 0x40u), 1000u + 0x140u);
  // Past midnight the candidate is dropped.
  PreciseClockState late;
  AdvancePreciseClock(late, 86399000, 0);
  EXPECT_EQ(AdvancePreciseClock(late, 500, 1500), 500u);
}

}  // namespace
}  // namespace tq

// The date and time texts, their validity rules and error ids, the time integer, and the day
// count and leap years before the reform (later dates: calendar_reference_test.cpp).
#include "datetime/date_values.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tests/dates/proxy_fixture.h"

namespace tq {
namespace {

using DateValuesTest = tqtest::ProxyTest;

TEST(DayNumber, RejectsWhatIsNotADate) {
  int32_t number = 0;
  EXPECT_FALSE(DateToDayNumber(1, 1, -1, number));
  EXPECT_FALSE(DateToDayNumber(1, 0, 2000, number));
  EXPECT_FALSE(DateToDayNumber(1, 13, 2000, number));
  EXPECT_FALSE(DateToDayNumber(0, 1, 2000, number));
  EXPECT_FALSE(DateToDayNumber(29, 2, 1900, number));
  EXPECT_FALSE(DateToDayNumber(31, 4, 2000, number));
  EXPECT_TRUE(DateToDayNumber(29, 2, 1500, number));     // Julian leap year
  EXPECT_FALSE(DateToDayNumber(1, 1, 7000000, number));  // beyond the 32-bit count
  int32_t d = 0, m = 0, y = 0;
  EXPECT_FALSE(DayNumberToDate(INT32_MIN, d, m, y));
  EXPECT_TRUE(DayNumberToDate(INT32_MAX, d, m, y));
  EXPECT_GT(y, 5000000);
}

// Before the reform the count is Julian and continuous: the day after 1582-10-04 is
// 1582-10-15, and every number converts back to its date, down to year 0.
TEST(DayNumber, JulianCountBeforeTheReform) {
  int32_t october4 = 0, october15 = 0;
  ASSERT_TRUE(DateToDayNumber(4, 10, 1582, october4));
  ASSERT_TRUE(DateToDayNumber(15, 10, 1582, october15));
  EXPECT_EQ(october15 - october4, 1);
  int32_t first = 0;
  ASSERT_TRUE(DateToDayNumber(1, 1, 0, first));
  int32_t d = 0, m = 0, y = 0;
  EXPECT_FALSE(DayNumberToDate(first - 1, d, m, y));
  int32_t previous = first - 1;
  for (int32_t n = first; n <= october15 + 400; ++n) {
    ASSERT_TRUE(DayNumberToDate(n, d, m, y)) << n;
    int32_t back = 0;
    ASSERT_TRUE(DateToDayNumber(d, m, y, back)) << y << "-" << m << "-" << d;
    ASSERT_EQ(back, n);
    ASSERT_EQ(back, previous + 1);
    previous = back;
  }
}

// From 1583 on, leap years, month lengths and weekdays are checked against the standard
// calendar in calendar_reference_test.cpp; here the Julian years and negative day numbers.
TEST(LeapYear, JulianRuleBeforeTheReform) {
  struct Case {
    int32_t year;
    bool leap;
  } cases[] = {{1500, true}, {1582, false}, {0, true}, {4, true}, {100, true}, {-4, true}};
  for (const Case& c : cases) EXPECT_EQ(IsLeapYear(c.year), c.leap) << c.year;
  EXPECT_EQ(MonthLength(13, 2000), 0);
}

TEST(DayOfWeek, NegativeDayNumbers) {
  EXPECT_EQ(DayOfWeekIndex(-657071), 0);
  EXPECT_EQ(DayOfWeekIndex(-657072), 6);  // negative sums stay in 0..6
}

TEST_F(DateValuesTest, DateTextErrorsInTheirOrder) {
  struct Case {
    const char16_t* text;
    uint32_t error;  // 0: valid
  } cases[] = {
      {u"20240305", 0},
      {u"2024030", date_error::kDateLength},
      {u"202403051", date_error::kDateLength},
      {u"20240305123", date_error::kDateLength},
      {u"", date_error::kDateLength},
      {u"2024O305", date_error::kDateNotDigits},
      {u"-2024030", date_error::kDateNotDigits},
      {u"00000101", date_error::kYearZero},
      {u"00001305", date_error::kYearZero},  // the year is checked first
      {u"15821005", date_error::kReformGap},
      {u"15821014", date_error::kReformGap},
      {u"15821004", 0},
      {u"15821015", 0},
      {u"20241305", date_error::kMonthRange},
      {u"20240005", date_error::kMonthRange},
      {u"20240431", date_error::kDayRange},
      {u"20240100", date_error::kDayRange},
      {u"20230229", date_error::kNotLeapYear},
      {u"20240229", 0},
      {u"202403051230", 0},
      {u"20240305123099", date_error::kSecondRange},  // a date-time's time must hold too
      {u"202403051230000001", date_error::kDateTimeLength},
  };
  for (const Case& c : cases) {
    CivilDate date;
    EXPECT_EQ(ParseDateText(c.text, date, proxy_), c.error == 0) << std::u16string(c.text).size();
    EXPECT_EQ(TakeError(), c.error);
    CivilDate silent;
    EXPECT_EQ(ParseDateText(c.text, silent, nullptr), c.error == 0);
  }
}

TEST_F(DateValuesTest, DayRangeErrorCarriesTheMonthLength) {
  CivilDate date;
  EXPECT_FALSE(ParseDateText(u"20240230", date, proxy_));
  EXPECT_EQ(ErrorStateOf(proxy_)->errorId, date_error::kDayRange);
  EXPECT_NE(ErrorStateOf(proxy_)->message.view().find(u"29"), std::u16string_view::npos);
}

TEST_F(DateValuesTest, TimeTextsFilledWithZeros) {
  struct Case {
    const char16_t* text;
    uint32_t error;
    int32_t hour = 0, minute = 0, second = 0, centisecond = 0, millisecond = 0;
  } cases[] = {
      {u"", 0, 0, 0, 0, 0, 0},
      {u"12", 0, 12, 0, 0, 0, 0},
      {u"1230", 0, 12, 30, 0, 0, 0},
      {u"123045", 0, 12, 30, 45, 0, 0},
      {u"12304567", 0, 12, 30, 45, 67, 670},
      {u"123045678", 0, 12, 30, 45, 67, 678},
      {u"235959999", 0, 23, 59, 59, 99, 999},
      {u"1", 0, 10, 0, 0, 0, 0},
      {u"12306", date_error::kSecondRange},  // "123060000": 60 seconds
      {u"126000", date_error::kMinuteRange},
      {u"24", date_error::kHourRange},
      {u"996099", date_error::kSecondRange},  // seconds are checked first
      {u"12:30", date_error::kTimeNotDigits},
      {u" 1230", date_error::kTimeNotDigits},
      {u"202403051230", 0, 12, 30, 0, 0, 0},  // a date-time's time part
      {u"2024030512", 0, 12, 0, 0, 0, 0},
      {u"2024023012", date_error::kDayRange},
      {u"202403051230000001", date_error::kDateTimeLength},
  };
  for (const Case& c : cases) {
    TimeOfDay t;
    const bool ok = ParseTimeText(c.text, t, proxy_);
    EXPECT_EQ(ok, c.error == 0) << std::u16string(c.text).size();
    EXPECT_EQ(TakeError(), c.error);
    if (ok) {
      EXPECT_EQ(std::tuple(t.hour, t.minute, t.second, t.centisecond, t.millisecond),
                std::tuple(c.hour, c.minute, c.second, c.centisecond, c.millisecond));
    }
  }
}

TEST_F(DateValuesTest, DateTimeLengthErrorCarriesTheText) {
  CivilDate date;
  TimeOfDay time;
  EXPECT_FALSE(ParseDateTimeText(u"2024", date, time, proxy_));
  EXPECT_EQ(ErrorStateOf(proxy_)->errorId, date_error::kDateTimeLength);
  EXPECT_NE(ErrorStateOf(proxy_)->message.view().find(u"2024"), std::u16string_view::npos);
  TakeError();
  EXPECT_TRUE(ParseDateTimeText(u"20240305", date, time, proxy_));  // the time may be empty
  EXPECT_EQ(time.hour, 0);
  EXPECT_TRUE(ParseDateTimeText(u"20240305235959999", date, time, proxy_));
  EXPECT_EQ(time.millisecond, 999);
}

TEST(SilentReaders, DatesFromYearOneAndTimesOfEightDigits) {
  CivilDate date;
  EXPECT_TRUE(ReadDateSilently(u"00010101", date));
  EXPECT_FALSE(ReadDateSilently(u"00000101", date));
  EXPECT_FALSE(ReadDateSilently(u"15821010", date));
  EXPECT_FALSE(ReadDateSilently(u"2024030", date));
  EXPECT_TRUE(ReadDateSilently(u"20240305xyz", date));  // only the first 8 count
  int32_t cs = 0;
  EXPECT_TRUE(ReadTimeSilently(u"", cs));
  EXPECT_EQ(cs, 0);
  EXPECT_TRUE(ReadTimeSilently(u"23595999", cs));
  EXPECT_EQ(cs, 8639999);
  EXPECT_TRUE(ReadTimeSilently(u"235959999", cs));  // the ninth digit is not read
  EXPECT_EQ(cs, 8639999);
  EXPECT_TRUE(ReadTimeSilently(u"1", cs));
  EXPECT_EQ(cs, 3600000);
  EXPECT_FALSE(ReadTimeSilently(u"2400", cs));
  EXPECT_FALSE(ReadTimeSilently(u"1260", cs));
  EXPECT_FALSE(ReadTimeSilently(u"12 0", cs));
}

TEST_F(DateValuesTest, TimeIntegerBothWays) {
  struct Case {
    int64_t centiseconds;
    const char16_t* text;
    uint32_t error;
  } cases[] = {
      {0, u"00000000", 0},
      {4320000, u"12000000", 0},
      {8639999, u"23595999", 0},
      {8640000, u"24000000", 0},  // the upper bound is inclusive
      {8640001, u"", date_error::kTimeTooLarge},
      {-1, u"", date_error::kTimeNegative},
      {INT32_MIN, u"", date_error::kTimeNegative},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeIntegerToText(c.centiseconds, proxy_), c.text) << c.centiseconds;
    EXPECT_EQ(TakeError(), c.error);
  }
  EXPECT_EQ(TimeTextToInteger(u"12", proxy_), 4320000);
  EXPECT_EQ(TimeTextToInteger(u"123045678", proxy_), 4504567);
  EXPECT_EQ(TimeTextToInteger(u"126000", proxy_), -1);
  EXPECT_EQ(TakeError(), date_error::kMinuteRange);
}

TEST_F(DateValuesTest, DateTextsAndComponents) {
  EXPECT_EQ(DateTextToDayNumber(u"20000101", false, proxy_), 73049);
  EXPECT_EQ(DateTextToDayNumber(u"20000101", true, proxy_), 1);
  EXPECT_EQ(DateTextToDayNumber(u"20241231", true, proxy_), 366);
  EXPECT_EQ(DateTextToDayNumber(u"20231231", true, proxy_), 365);
  EXPECT_EQ(DateTextToDayNumber(u"20231232", false, proxy_), -1);
  EXPECT_EQ(TakeError(), date_error::kDayRange);

  struct Case {
    char16_t selector;
    const char16_t* text;
  } cases[] = {{u'\0', u"20000101"}, {u'a', u"2000"}, {u'A', u"2000"}, {u'y', u"2000"},
               {u'Y', u"2000"},      {u'd', u"01"},   {u'D', u"01"},   {u'j', u"01"},
               {u'J', u"01"},        {u'm', u"01"},   {u'M', u"01"},   {u'x', u"20000101"}};
  for (const Case& c : cases) EXPECT_EQ(DayNumberToDateText(73049, c.selector, proxy_), c.text);
  EXPECT_EQ(TakeError(), 0u);
  EXPECT_EQ(DayNumberToDateText(INT32_MIN, u'\0', proxy_), u"");
  EXPECT_EQ(TakeError(), date_error::kNotADayNumber);
  EXPECT_EQ(FormatDateTimeText17(CivilDate{2024, 3, 5}, 86399999), u"20240305235959999");
}

TEST(DateParts, SameLayoutAsTheSystemRecord) {
  const DateParts parts{2024, 3, 2, 5, 10, 20, 30, 400};
  const ce::SYSTEMTIME t = SystemTimeFromParts(parts);
  EXPECT_EQ(t.wYear, 2024);
  EXPECT_EQ(t.wDayOfWeek, 2);
  EXPECT_EQ(t.wMilliseconds, 400);
  const DateParts back = PartsFromSystemTime(t);
  EXPECT_EQ(back.day, 5);
  EXPECT_EQ(back.second, 30);
}

}  // namespace
}  // namespace tq

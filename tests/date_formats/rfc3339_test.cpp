// RFC 3339 reading and writing, and the time-zone conversion through the device's zone
// record (swept against the C library's conversion by tests/dates/time_zone_sweep_test.cpp).
#include "datetime/rfc3339.h"

#include <gtest/gtest.h>

#include "datetime/rfc3339_time_zone.h"
#include "platform/last_error.h"
#include "tests/date_formats/test_settings.h"

namespace {

using tqtest::DateFormatTest;
using Rfc3339Test = DateFormatTest;

TEST(Rfc3339, ReadingIntoUtc) {
  struct Case {
    std::u16string_view text, utc;
  };
  const Case cases[] = {
      {u"2024-03-05T12:00:00.5+01:00", u"20240305110000500"},
      {u"2024-03-05T12:00:00Z", u"20240305120000000"},
      {u"2024-03-05T12:00:00", u"20240305120000000"},
      {u"2024-03-05T00:30:00+01:00", u"20240304233000000"},  // carried to the day before
      {u"2024-02-29T20:00:00-05:30", u"20240301013000000"},  // and to the next month
      {u"2023-12-31T23:00:00-02:00", u"20240101010000000"},  // and to the next year
      {u"2024-03-05T12:00:00.123456Z", u"20240305120000123"},
      {u"2024-03-05", u"20240305000000000"},
      {u"2024-03-05T", u"20240305000000000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tq::Rfc3339ToDateText(c.text, true).value_or(u"?"), c.utc)
        << std::string(c.text.begin(), c.text.end());
  EXPECT_TRUE(tq::ParseRfc3339(u"2024-03-05").dateOnly);
  EXPECT_FALSE(tq::ParseRfc3339(u"2024-03-05T01:00").dateOnly);
}

TEST(Rfc3339, WritingOffsets) {
  tq::CompactDateTime r{5, 3, 2024, 12 * 3600000 + 45, 0, 0, false};
  EXPECT_EQ(tq::FormatRfc3339(r), u"2024-03-05T12:00:00.045Z");
  r.offsetHours = -1;  // local time one hour ahead of UTC
  EXPECT_EQ(tq::FormatRfc3339(r), u"2024-03-05T12:00:00.045+01:00");
  r.offsetHours = 3;
  r.offsetMinutes = 30;
  EXPECT_EQ(tq::FormatRfc3339(r), u"2024-03-05T12:00:00.045-03:30");
  r.offsetHours = 13;  // outside -12..12: taken as 0
  EXPECT_EQ(tq::FormatRfc3339(r), u"2024-03-05T12:00:00.045-00:30");
}

TEST_F(Rfc3339Test, LocalTimestampsCarryTheDevicesOffset) {
  struct Case {
    const char* zone;
    std::u16string_view value, local, utc;
  };
  const Case cases[] = {
      {"Europe/Paris", u"20240305120000", u"2024-03-05T12:00:00.000+01:00",
       u"2024-03-05T11:00:00.000Z"},
      {"Europe/Paris", u"20240705120000", u"2024-07-05T12:00:00.000+02:00",
       u"2024-07-05T10:00:00.000Z"},
      {"America/New_York", u"20240105", u"2024-01-05T00:00:00.000-05:00",
       u"2024-01-05T05:00:00.000Z"},
      {"Australia/Sydney", u"2024010512000012", u"2024-01-05T12:00:00.120+11:00",
       u"2024-01-05T01:00:00.120Z"},
      {"Asia/Kolkata", u"20240705120000123", u"2024-07-05T12:00:00.123+05:30",
       u"2024-07-05T06:30:00.123Z"},
      {"America/St_Johns", u"20240105120000", u"2024-01-05T12:00:00.000-03:30",
       u"2024-01-05T15:30:00.000Z"},
      {"UTC", u"20240305120000", u"2024-03-05T12:00:00.000Z", u"2024-03-05T12:00:00.000Z"},
  };
  for (const Case& c : cases) {
    Configure("fr-FR", c.zone, "2024-03-05T10:00:00");
    EXPECT_EQ(tq::DateTextToRfc3339(c.value, false).value_or(u"?"), c.local) << c.zone;
    EXPECT_EQ(tq::DateTextToRfc3339(c.value, true).value_or(u"?"), c.utc) << c.zone;
  }
  Configure("fr-FR", "Europe/Paris", "2024-03-05T10:00:00");
  EXPECT_EQ(tq::Rfc3339ToDateText(u"2024-07-05T10:00:00Z", false).value_or(u"?"),
            u"20240705120000000");
  EXPECT_FALSE(tq::DateTextToRfc3339(u"20241399", true).has_value());  // not a date
}

TEST(TimeZoneRecords, UnusableRulesFailWithError87) {
  ce::TIME_ZONE_INFORMATION zone{};
  zone.Bias = -60;
  zone.DaylightDate.wMonth = 3;
  zone.DaylightDate.wDay = 9;  // occurrence outside 1..5
  zone.StandardDate.wMonth = 10;
  zone.StandardDate.wDay = 5;
  ce::SYSTEMTIME t{2024, 3, 0, 5, 12, 0, 0, 0}, out;
  EXPECT_FALSE(tq::LocalToUtcWith(zone, t, out));
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_PARAMETER);
  zone.DaylightDate.wMonth = 0;  // no daylight rule: Bias alone
  ASSERT_TRUE(tq::LocalToUtcWith(zone, t, out));
  EXPECT_EQ(out.wHour, 11);
}

}  // namespace

// Time-zone rules: parsing POSIX rules, the zone records of real zones, and conversions
// checked against the C library's own conversion under TZ.
#include <gtest/gtest.h>
#include <time.h>

#include <string>
#include <tuple>

#include "platform/civil_time.h"
#include "platform/tz_database.h"
#include "platform/tz_rule.h"
#include "tests/platform/c_library_zone.h"

namespace ce {
namespace {

bool HaveTzData() {
  return LoadZoneRule("Europe/Paris").has_value();
}

TEST(TzRule, ParsesPosixRules) {
  std::optional<ZoneRule> paris = ParsePosixTzRule("CET-1CEST,M3.5.0,M10.5.0/3");
  ASSERT_TRUE(paris);
  EXPECT_EQ(paris->standardName, "CET");
  EXPECT_EQ(paris->daylightName, "CEST");
  EXPECT_EQ(paris->standardOffset, -3600);
  EXPECT_EQ(paris->daylightOffset, -7200);
  EXPECT_EQ(paris->daylightStart.month, 3);
  EXPECT_EQ(paris->daylightStart.week, 5);
  EXPECT_EQ(paris->daylightStart.timeSeconds, 7200);
  EXPECT_EQ(paris->daylightEnd.timeSeconds, 3 * 3600);

  std::optional<ZoneRule> chatham =
      ParsePosixTzRule("<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45");
  ASSERT_TRUE(chatham);
  EXPECT_EQ(chatham->standardName, "+1245");
  EXPECT_EQ(chatham->standardOffset, -(12 * 3600 + 45 * 60));
  EXPECT_EQ(chatham->daylightEnd.timeSeconds, 3 * 3600 + 45 * 60);

  std::optional<ZoneRule> us = ParsePosixTzRule("EST5EDT");  // default transitions
  ASSERT_TRUE(us);
  EXPECT_EQ(us->daylightStart.month, 3);
  EXPECT_EQ(us->daylightEnd.month, 11);

  std::optional<ZoneRule> julian = ParsePosixTzRule("XXX3YYY,J60/-1,300/26");
  ASSERT_TRUE(julian);
  EXPECT_EQ(julian->daylightStart.kind, TransitionRule::Kind::kJulianNoLeap);
  EXPECT_EQ(julian->daylightStart.timeSeconds, -3600);
  EXPECT_EQ(julian->daylightEnd.kind, TransitionRule::Kind::kZeroBasedDay);

  for (const char* bad : {"", "C1", "CET", "CET-1CEST,M3.5.0", "CET-1CEST,M13.1.0,M10.5.0",
                          "CET-1CEST,M3.6.0,M10.5.0", "CET-1CEST,M3.5.7,M10.5.0",
                          "CET-1CEST,J0,J100", "CET-25", "CET-1 ", "<AB>1",
                          "CET-1CEST,M3.5.0,"
                          "M10.5.0/200"}) {
    EXPECT_FALSE(ParsePosixTzRule(bad).has_value()) << bad;
  }
}

TEST(TzDatabase, ReadsTheFooterOfZoneFiles) {
  if (!HaveTzData()) GTEST_SKIP() << "tzdata is not installed";
  std::optional<ZoneRule> sydney = LoadZoneRule("Australia/Sydney");
  ASSERT_TRUE(sydney);
  EXPECT_EQ(sydney->standardOffset, -36000);
  EXPECT_TRUE(LoadZoneRule(":Asia/Tokyo").has_value());
  EXPECT_TRUE(LoadZoneRule(TzDatabaseDirectory() + "/UTC").has_value());
  EXPECT_TRUE(LoadZoneRule("CET-1CEST,M3.5.0,M10.5.0/3").has_value());
  EXPECT_FALSE(LoadZoneRule("Europe/../../etc/passwd").has_value());
  EXPECT_FALSE(LoadZoneRule("Nowhere/Nothing").has_value());
  EXPECT_FALSE(TzifFooterRule("TZif2").has_value());
  EXPECT_FALSE(TzifFooterRule(std::string(60, '\0')).has_value());
}

// The device zone record of each zone, as Windows writes it.
TEST(TzRule, ZoneRecordsOfRealZones) {
  if (!HaveTzData()) GTEST_SKIP() << "tzdata is not installed";
  struct Transition {
    WORD month, week, weekday, hour, minute;
  };
  struct Case {
    const char* zone;
    LONG bias;
    LONG daylightBias;
    Transition daylight;  // month 0: no DST
    Transition standard;
  } cases[] = {
      {"Europe/Paris", -60, -60, {3, 5, 0, 2, 0}, {10, 5, 0, 3, 0}},
      {"America/New_York", 300, -60, {3, 2, 0, 2, 0}, {11, 1, 0, 2, 0}},
      {"Australia/Sydney", -600, -60, {10, 1, 0, 2, 0}, {4, 1, 0, 3, 0}},
      {"Asia/Kolkata", -330, 0, {}, {}},
      {"UTC", 0, 0, {}, {}},
      {"Asia/Tokyo", -540, 0, {}, {}},
      {"Australia/Lord_Howe", -630, -30, {10, 1, 0, 2, 0}, {4, 1, 0, 2, 0}},
  };
  for (const Case& c : cases) {
    std::optional<ZoneRule> rule = LoadZoneRule(c.zone);
    ASSERT_TRUE(rule) << c.zone;
    const TIME_ZONE_INFORMATION info = ToTimeZoneInformation(*rule);
    EXPECT_EQ(info.Bias, c.bias) << c.zone;
    EXPECT_EQ(info.StandardBias, 0) << c.zone;
    EXPECT_EQ(info.DaylightBias, c.daylightBias) << c.zone;
    const auto check = [&](const SYSTEMTIME& d, const Transition& e) {
      EXPECT_EQ(std::tuple(d.wYear, d.wMonth, d.wDay, d.wDayOfWeek, d.wHour, d.wMinute),
                std::tuple(WORD{0}, e.month, e.week, e.weekday, e.hour, e.minute))
          << c.zone;
    };
    check(info.DaylightDate, c.daylight);
    check(info.StandardDate, c.standard);
  }
}

TEST(TzRule, TransitionTimesOutsideTheDayMoveToTheNeighbouringDay) {
  const TIME_ZONE_INFORMATION info =
      ToTimeZoneInformation(*ParsePosixTzRule("IST-2IDT,M3.4.4/26,M10.5.0"));
  EXPECT_EQ(info.DaylightDate.wDayOfWeek, 5);  // Thursday + 26 h = Friday 02:00
  EXPECT_EQ(info.DaylightDate.wHour, 2);
  const TIME_ZONE_INFORMATION nuuk =
      ToTimeZoneInformation(*ParsePosixTzRule("<-02>2<-01>,M3.5.0/-1,M10.5.0/0"));
  EXPECT_EQ(nuuk.DaylightDate.wDayOfWeek, 6);  // Sunday - 1 h = Saturday 23:00
  EXPECT_EQ(nuuk.DaylightDate.wHour, 23);
  EXPECT_EQ(nuuk.StandardDate.wHour, 0);
}

const char* const kComparedZones[] = {
    "Europe/Paris", "America/New_York", "Australia/Sydney", "Asia/Kolkata",
    "UTC",          "Asia/Tokyo",       "America/Santiago", "Australia/Lord_Howe"};

TEST(TzRule, ConversionsBothWaysAgreeWithTheCLibrary) {
  if (!HaveTzData()) GTEST_SKIP() << "tzdata is not installed";
  const int64_t start = DaysFromCivil(2025, 1, 1) * 86400;
  for (const char* zone : kComparedZones) {
    const ZoneRule rule = *LoadZoneRule(zone);
    const tqtest::CLibraryZone c(zone);
    for (int64_t t = start; t < start + 2 * 366 * 86400; t += 1800) {
      const time_t when = static_cast<time_t>(t);
      tm fromUtc{};
      localtime_r(&when, &fromUtc);
      ASSERT_EQ(UtcToLocalSeconds(rule, t) - t, fromUtc.tm_gmtoff) << zone << " at " << t;
      ASSERT_EQ(IsDaylightAt(rule, t), fromUtc.tm_isdst > 0) << zone << " at " << t;
      const int64_t local = t;  // the same instant now read as a local time
      const int64_t utc = LocalToUtcSeconds(rule, local);
      // Local times skipped by the change to daylight time do not round-trip; repeated ones
      // are read as their first occurrence. Compare the unambiguous ones with mktime.
      const bool skipped = UtcToLocalSeconds(rule, utc) != local;
      const bool repeated = rule.hasDaylight &&
                            UtcToLocalSeconds(rule, local + rule.standardOffset) == local &&
                            UtcToLocalSeconds(rule, local + rule.daylightOffset) == local;
      if (skipped || repeated) continue;
      int64_t year;
      int month, day;
      CivilFromDays(local / 86400, &year, &month, &day);
      tm fields{};
      fields.tm_year = static_cast<int>(year - 1900);
      fields.tm_mon = month - 1;
      fields.tm_mday = day;
      fields.tm_hour = static_cast<int>(local % 86400 / 3600);
      fields.tm_min = static_cast<int>(local % 3600 / 60);
      fields.tm_isdst = -1;
      ASSERT_EQ(utc, static_cast<int64_t>(mktime(&fields))) << zone << " at local " << local;
    }
  }
}

TEST(TzRule, AmbiguousAndSkippedLocalTimes) {
  const ZoneRule paris = *ParsePosixTzRule("CET-1CEST,M3.5.0,M10.5.0/3");
  const int64_t springDay = DaysFromCivil(2024, 3, 31) * 86400;
  // 02:30 does not exist: read with the standard offset, it is 01:30 UTC (03:30 CEST).
  EXPECT_EQ(LocalToUtcSeconds(paris, springDay + 2 * 3600 + 1800), springDay + 3600 + 1800);
  const int64_t autumnDay = DaysFromCivil(2024, 10, 27) * 86400;
  // 02:30 occurs twice: the first (CEST) occurrence is 00:30 UTC.
  EXPECT_EQ(LocalToUtcSeconds(paris, autumnDay + 2 * 3600 + 1800), autumnDay + 1800);
}

}  // namespace
}  // namespace ce

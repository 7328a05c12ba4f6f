// Unix time against the C library's own time-zone conversion: for a sweep of instants in
// several zones (both hemispheres, without daylight saving, half-hour and 45-minute offsets),
// UnixTimeToDateTime must print what localtime_r gives under TZ, and DateTimeToUnixTime must
// read that local time back to the same instant wherever the local time is unambiguous.
// Both go through the device's zone record, the conversion RFC 3339 texts use too.
//
// The device applies its zone's current rule to every year, so the sweep stays within years
// that every zone here has kept its current rule for.
#include <gtest/gtest.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "datetime/calendar_conversions.h"
#include "platform/device_config.h"
#include "tests/platform/c_library_zone.h"

namespace tq {
namespace {

std::u16string Digits17(const std::tm& tm, int milliseconds) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d%02d%02d%02d%03d", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, milliseconds);
  return std::u16string(buffer, buffer + 17);
}

// A device in `zone`, with nothing else configured.
void UseDeviceZone(const char* zone) {
  ce::DeviceConfig config;
  config.deviceRoot = (std::filesystem::temp_directory_path() / "tq-dates-tz").string();
  config.timeZone = zone;
  config.locale = ce::kDefaultLocale;
  ce::SetDeviceConfigForTesting(config);
}

// The C library and the device in the zone of the parameter.
class TimeZoneSweep : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { UseDeviceZone(GetParam()); }
  void TearDown() override { ce::ResetDeviceConfigForTesting(); }

  const tqtest::CLibraryZone cZone_{GetParam()};
};

long OffsetAt(time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm.tm_gmtoff;
}

TEST_P(TimeZoneSweep, AgreesWithTheCLibrary) {
  // 2012-01-01 to 2036-12-31, in steps of 1 h 53 min 17.123 s so that every hour of the day
  // and many minutes around the transitions are visited.
  const int64_t firstMs = int64_t{1325376000} * 1000;
  const int64_t lastMs = int64_t{2114380800} * 1000;
  const int64_t stepMs = ((1 * 60 + 53) * 60 + 17) * int64_t{1000} + 123;
  int64_t compared = 0, readBack = 0;
  for (int64_t ms = firstMs; ms < lastMs; ms += stepMs) {
    const time_t seconds = static_cast<time_t>(ms / 1000);
    std::tm tm{};
    ASSERT_NE(localtime_r(&seconds, &tm), nullptr);
    const std::u16string local = Digits17(tm, static_cast<int>(ms % 1000));
    ASSERT_EQ(UnixTimeToDateTime(ms, kUnixTimeMilliseconds), local) << GetParam() << " " << ms;
    ASSERT_EQ(UnixTimeToDateTime(seconds, 0), local.substr(0, 14) + u"000");
    ++compared;
    // Local times within two hours of a change of offset may be ambiguous or skipped.
    if (OffsetAt(seconds - 7200) != tm.tm_gmtoff || OffsetAt(seconds + 7200) != tm.tm_gmtoff)
      continue;
    ASSERT_EQ(DateTimeToUnixTime(local, kUnixTimeMilliseconds), ms) << GetParam() << " " << ms;
    ASSERT_EQ(DateTimeToUnixTime(local, 0), ms / 1000);
    ++readBack;
  }
  EXPECT_GT(compared, 100000);
  EXPECT_GT(readBack, compared * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(Zones, TimeZoneSweep,
                         ::testing::Values("UTC", "Europe/Paris", "America/New_York",
                                           "Australia/Sydney", "Australia/Adelaide", "Asia/Kolkata",
                                           "America/St_Johns", "Pacific/Chatham", "Asia/Kathmandu",
                                           "Asia/Tokyo"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (c == '/') c = '_';
                           return name;
                         });

TEST(UnixTime, LimitsAndFlags) {
  UseDeviceZone("UTC");
  EXPECT_EQ(DateTimeToUnixTime(u"19700101", 0), 0);
  EXPECT_EQ(DateTimeToUnixTime(u"19691231235959999", kUnixTimeMilliseconds), -1);
  EXPECT_EQ(DateTimeToUnixTime(u"19700101000000999", 0), 0);  // truncated
  EXPECT_EQ(DateTimeToUnixTime(u"19700101000000999", 1), 0);  // bit 0 is not the flag
  EXPECT_EQ(DateTimeToUnixTime(u"2024", 0), -1);
  EXPECT_EQ(DateTimeToUnixTime(u"20240230", 0), -1);
  EXPECT_EQ(DateTimeToUnixTime(u"99991231235959999", kUnixTimeMilliseconds), 253402300799999);
  EXPECT_EQ(UnixTimeToDateTime(-1, 0), u"");
  EXPECT_EQ(UnixTimeToDateTime(253402300799, 0), u"99991231235959000");
  EXPECT_EQ(UnixTimeToDateTime(INT64_MAX, 0), u"");
  EXPECT_EQ(UnixTimeToDateTime(INT64_MAX, kUnixTimeMilliseconds), u"");
  ce::ResetDeviceConfigForTesting();
}

}  // namespace
}  // namespace tq

// The device clock: frozen and real modes, setting the time with persistence across
// configurations (the next process), the zone record, and the SYSTEMTIME/FILETIME calls.
#include "platform/device_clock.h"

#include <gtest/gtest.h>
#include <time.h>

#include <tuple>

#include "device_fixture.h"
#include "platform/civil_time.h"
#include "platform/clock_store.h"
#include "platform/device_path.h"
#include "platform/last_error.h"
#include "platform/tick_count.h"

namespace ce {
namespace {

SYSTEMTIME Time(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms = 0) {
  return SYSTEMTIME{y, mo, 0, d, h, mi, s, ms};
}

// Every field but the day of the week.
void ExpectTime(const SYSTEMTIME& actual, const SYSTEMTIME& expected) {
  const auto fields = [](const SYSTEMTIME& t) {
    return std::tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  };
  EXPECT_EQ(fields(actual), fields(expected));
}

int64_t HostUtcSeconds() {
  return static_cast<int64_t>(time(nullptr));
}

class DeviceClockTest : public testing::DeviceTest {
 protected:
  SYSTEMTIME Local() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return t;
  }
  SYSTEMTIME Utc() {
    SYSTEMTIME t{};
    GetSystemTime(&t);
    return t;
  }
};

TEST_F(DeviceClockTest, FrozenClockIsTheLocalTimeGiven) {
  Configure("TQ_TZ", "Europe/Paris");
  Configure("TQ_CLOCK", "2024-07-14T10:30:15.250");
  const SYSTEMTIME local = Local();
  ExpectTime(local, Time(2024, 7, 14, 10, 30, 15, 250));
  EXPECT_EQ(local.wDayOfWeek, 0);  // a Sunday
  ExpectTime(Utc(), Time(2024, 7, 14, 8, 30, 15, 250));
  Sleep(20);
  ExpectTime(Local(), Time(2024, 7, 14, 10, 30, 15, 250));  // frozen, while ticks run on
}

TEST_F(DeviceClockTest, RealClockFollowsTheHost) {
  Configure("TQ_TZ", "Asia/Kolkata");
  const int64_t before = HostUtcSeconds();
  const int64_t utc = SystemTimeToUnixMs(Utc()) / 1000;
  const int64_t local = SystemTimeToUnixMs(Local()) / 1000;
  EXPECT_GE(utc, before - 1);
  EXPECT_LE(utc, HostUtcSeconds() + 1);
  EXPECT_NEAR(static_cast<double>(local - utc), 5.5 * 3600, 2);
}

TEST_F(DeviceClockTest, SettingTheRealClockKeepsAnOffsetThatTheNextProcessSees) {
  Configure("TQ_TZ", "America/New_York");
  const SYSTEMTIME target = Time(2001, 2, 3, 4, 5, 6);
  ASSERT_TRUE(SetLocalTime(&target));
  const int64_t expected = SystemTimeToUnixMs(Time(2001, 2, 3, 4, 5, 6)) / 1000;
  EXPECT_NEAR(static_cast<double>(SystemTimeToUnixMs(Local()) / 1000), expected, 2);
  EXPECT_NEAR(static_cast<double>(SystemTimeToUnixMs(Utc()) / 1000), expected + 5 * 3600, 2);
  // The host's clock is untouched.
  EXPECT_GT(HostUtcSeconds(), SystemTimeToUnixMs(Time(2020, 1, 1, 0, 0, 0)) / 1000);
  // A new configuration on the same device (the next process) sees the change.
  ResetDeviceConfigForTesting();
  EXPECT_NEAR(static_cast<double>(SystemTimeToUnixMs(Local()) / 1000), expected, 2);
  // Another device does not.
  Configure("TQ_DEVICE", (workDir_ + "/other").c_str());
  EXPECT_GT(SystemTimeToUnixMs(Local()) / 1000,
            SystemTimeToUnixMs(Time(2020, 1, 1, 0, 0, 0)) / 1000);
}

TEST_F(DeviceClockTest, SettingAFrozenClockPersistsWhileTheSameClockSettingHolds) {
  Configure("TQ_TZ", "Europe/Paris");
  Configure("TQ_CLOCK", "2024-03-05T12:00:00");
  const SYSTEMTIME newUtc = Time(2024, 6, 1, 6, 0, 0);
  ASSERT_TRUE(SetSystemTime(&newUtc));
  ExpectTime(Local(), Time(2024, 6, 1, 8, 0, 0));
  ResetDeviceConfigForTesting();  // next process, same TQ_CLOCK
  ExpectTime(Local(), Time(2024, 6, 1, 8, 0, 0));
  Configure("TQ_CLOCK", "2030-01-01T00:00:00");  // a different frozen time starts afresh
  ExpectTime(Local(), Time(2030, 1, 1, 0, 0, 0));
  Configure("TQ_CLOCK", nullptr);  // the real clock has no offset from that change
  EXPECT_NEAR(static_cast<double>(SystemTimeToUnixMs(Utc()) / 1000),
              static_cast<double>(HostUtcSeconds()), 2);
}

TEST_F(DeviceClockTest, InvalidTimesAndUnwritableDevicesLeaveTheClockAlone) {
  Configure("TQ_CLOCK", "2024-03-05T12:00:00");
  for (const SYSTEMTIME& bad :
       {Time(2024, 2, 30, 0, 0, 0), Time(2024, 13, 1, 0, 0, 0), Time(1600, 12, 31, 0, 0, 0),
        Time(2024, 1, 1, 24, 0, 0), Time(2024, 1, 1, 0, 0, 0, 1000)}) {
    SetLastError(0);
    EXPECT_FALSE(SetLocalTime(&bad));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_FALSE(SetLocalTime(nullptr));
  // A file where the clock's directory should be: the store cannot be written.
  WriteHost(DeviceRoot() + "/.device", "in the way");
  const SYSTEMTIME other = Time(2025, 1, 1, 0, 0, 0);
  SetLastError(0);
  EXPECT_FALSE(SetLocalTime(&other));
  EXPECT_NE(GetLastError(), ERROR_SUCCESS);
  ExpectTime(Local(), Time(2024, 3, 5, 12, 0, 0));
}

TEST_F(DeviceClockTest, DamagedClockFileIsIgnored) {
  Configure("TQ_CLOCK", "2024-03-05T12:00:00");
  WriteHost(ClockFilePath(DeviceRoot()),
            "offset-ms lots\nfrozen 2024-03-05T12:00:00 2024-99-99T00:00:00\n\x01\x02garbage");
  ExpectTime(Local(), Time(2024, 3, 5, 12, 0, 0));
  Configure("TQ_CLOCK", nullptr);
  EXPECT_NEAR(static_cast<double>(SystemTimeToUnixMs(Utc()) / 1000),
              static_cast<double>(HostUtcSeconds()), 2);
}

TEST_F(DeviceClockTest, TimeZoneInformationAndCurrentStateWithTheHostZoneAsDefault) {
  struct Case {
    const char* zone;
    const char* clock;
    DWORD state;
    LONG bias;
  } cases[] = {
      {"Europe/Paris", "2024-07-01T12:00:00", TIME_ZONE_ID_DAYLIGHT, -60},
      {"Europe/Paris", "2024-01-15T12:00:00", TIME_ZONE_ID_STANDARD, -60},
      {"Australia/Sydney", "2024-01-15T12:00:00", TIME_ZONE_ID_DAYLIGHT, -600},
      {"Australia/Sydney", "2024-07-01T12:00:00", TIME_ZONE_ID_STANDARD, -600},
      {"Asia/Kolkata", "2024-07-01T12:00:00", TIME_ZONE_ID_UNKNOWN, -330},
      {"CET-1CEST,M3.5.0,M10.5.0/3", "2024-07-01T12:00:00", TIME_ZONE_ID_DAYLIGHT, -60},
      {"Not/AZone", "2024-07-01T12:00:00", TIME_ZONE_ID_UNKNOWN, 0},  // unusable: UTC
  };
  for (const Case& c : cases) {
    Configure("TQ_TZ", c.zone);
    Configure("TQ_CLOCK", c.clock);
    TIME_ZONE_INFORMATION info{};
    EXPECT_EQ(GetTimeZoneInformation(&info), c.state) << c.zone << " " << c.clock;
    EXPECT_EQ(info.Bias, c.bias) << c.zone;
  }
  TIME_ZONE_INFORMATION info{};
  Configure("TQ_TZ", "Europe/Paris");
  GetTimeZoneInformation(&info);
  EXPECT_EQ(std::u16string(info.StandardName), u"CET");
  EXPECT_EQ(std::u16string(info.DaylightName), u"CEST");
  EXPECT_EQ(GetTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
  // Without a device zone, the host's is used.
  Configure("TQ_TZ", nullptr);
  Configure("TZ", "Asia/Tokyo");
  EXPECT_EQ(GetTimeZoneInformation(&info), TIME_ZONE_ID_UNKNOWN);
  EXPECT_EQ(info.Bias, -540);
}

TEST(FileTimes, KnownValuesAndRoundTrips) {
  struct Case {
    SYSTEMTIME time;
    uint64_t ticks;
    WORD weekday;
  } cases[] = {
      {Time(1601, 1, 1, 0, 0, 0), 0, 1},
      {Time(1970, 1, 1, 0, 0, 0), 116444736000000000ull, 4},
      {Time(2000, 2, 29, 23, 59, 59, 999), 125963423999990000ull, 2},
      {Time(2024, 3, 5, 12, 0, 0, 500), 133541136005000000ull, 2},
      {Time(30827, 12, 31, 23, 59, 59, 999), 9223149887999990000ull, 5},
  };
  for (const Case& c : cases) {
    FILETIME fileTime{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.time, &fileTime));
    EXPECT_EQ(static_cast<uint64_t>(FileTimeToTicks(fileTime)), c.ticks);
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &back));
    ExpectTime(back, c.time);
    EXPECT_EQ(back.wDayOfWeek, c.weekday);
  }
  const FILETIME tooLarge{0, 0x80000000u};
  SYSTEMTIME out{};
  EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &out));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  const SYSTEMTIME bad = Time(2023, 2, 29, 0, 0, 0);
  FILETIME ignored{};
  EXPECT_FALSE(SystemTimeToFileTime(&bad, &ignored));
}

TEST_F(DeviceClockTest, LocalFileTimesUseTheDeviceZone) {
  Configure("TQ_TZ", "Europe/Paris");
  const SYSTEMTIME summerUtc = Time(2024, 7, 1, 10, 0, 0);
  FILETIME utc{}, local{}, back{};
  ASSERT_TRUE(SystemTimeToFileTime(&summerUtc, &utc));
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
  EXPECT_EQ(FileTimeToTicks(local) - FileTimeToTicks(utc), 2 * 3600 * 10000000ll);
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(FileTimeToTicks(back), FileTimeToTicks(utc));
}

}  // namespace
}  // namespace ce

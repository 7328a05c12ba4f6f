// The date and calendar functions as the VM sees them: every overload through tq240, on a
// device whose clock is frozen at 2024-03-05 10:00:00.250 in Paris, with the errors each
// raises; then setting the device clock, which the next process must see.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/script_cases.h"

namespace {

using tqhost::JsonValue;
using tqtest::RenderedResult;

const std::vector<std::string> kDevice = {
    "--clock", "2024-03-05T10:00:00.250", "--tz", "Europe/Paris", "--locale", "fr-FR"};

// One or two cases per overload prove the wiring; the unit tables hold the engines' cases and
// every error id.
const auto& RunCases = tqtest::RunScriptCases;

TEST(DateValuesCli, ConversionsAndTheirErrors) {
  RunCases(kDevice, {
                        {"IntegerToDate 1", "18000101", 0},
                        {"IntegerToDate 73049 mois", "01", 0},
                        {"IntegerToDate -2147483648", "", 80132},
                        {"IntegerToDayOfWeek 1", "3", 0},
                        {"IntegerToTime 8640000", "24000000", 0},
                        {"IntegerToTime 8640001", "", 81858},
                        {"IntegerToTime -1", "", 80120},
                        {"TimeToInteger 12", "4320000", 0},
                        {"TimeToInteger 126000", "-1", 80130},
                        {"TimeToInteger 12a", "-1", 80128},
                        {"DateToInteger 20000101", "73049", 0},
                        {"DateToInteger 20001231 1", "366", 0},
                        {"DateToInteger 20001231 0", "73414", 0},
                        {"DateToInteger 200012311", "-1", 80121},
                        {"DateToInteger 00000101", "-1", 80123},
                        {"DateToInteger 15821005", "-1", 80124},
                        {"DateToInteger 19000229", "-1", 80127},
                        {"DateToInteger 2000010112345678901", "-1", 81842},
                        {"DateValid 15821010", "false", 0},
                        {"DateValid 202401012530", "false", 0},
                        {"TimeValid 235959", "1", 0},
                        {"TimeValid 240000", "0", 0},
                        {"DateTimeValid 20240101123059", "true", 0},
                        {"DateTimeValid 2024010124", "false", 0},
                        {"DateToDayOfWeek 20240305", "2", 0},
                        {"DateToDayOfWeek 20240230", "-1", 80126},
                        {"IsLeapYear 20240305", "true", 0},
                        {"IsLeapYear s:0000", "true", 0},
                        {"IsLeapYear s:-004", "false", 0},
                        {"IsLeapYear s:", "false", 0},
                        {"IsLeapYear i:2023", "false", 0},
                        {"IsLeapYear i:-5", "true", 0},  // the current year, 2024
                        {"IsLeapYear", "true", 0},
                        {"PreviousDay 20240301", "20240229", 0},
                        {"PreviousDay 18000101", "17991231", 0},
                        {"PreviousDay", "20240304", 0},
                        {"PreviousDay s:", "20240304", 0},
                        {"PreviousDay 20240230", "", 80126},
                        {"NextDay 20241231", "20250101", 0},
                        {"NextDay 15821004", "15821015", 0},
                        {"NextDay", "20240306", 0},
                        {"NextDay abc", "", 80121},
                    });
}

TEST(DateValuesCli, ClockAndNames) {
  RunCases(kDevice, {
                        {"SystemDate", "20240305", 0},
                        {"208", "20240305", 0},
                        {"IntegerToDayName 1", "mercredi", 0},
                        {"IntegerToDayName 73050", "dimanche", 0},
                        {"IntegerToMonthName 73049", "janvier", 0},
                        {"IntegerToMonthName -2147483648", "", 0},
                        {"DateToDayName 20240305", "mardi", 0},
                        {"DateToDayName 2024030", "", 80121},
                        {"DateToMonthName 20241205", "décembre", 0},
                        {"DateToMonthName 20241305", "", 80125},
                    });
}

// A fresh process synchronises its precise clock on the first reading: the frozen clock's
// milliseconds come out as they are.
TEST(DateValuesCli, CurrentTimeFromThePreciseClock) {
  const JsonValue time = tqtest::CallJson(kDevice, "SystemTime", {});
  EXPECT_EQ(RenderedResult(time), "10000025");
  const JsonValue parts = tqtest::CallJson(kDevice, "SystemTimeParts", {});
  EXPECT_EQ(parts.find("result")->find("type")->integer, 140);
  EXPECT_EQ(RenderedResult(parts), "10000025,20240305100000250,20240305,100000250");
}

TEST(CalendarCli, WeeksDifferencesAgeEasterSerialsUnixTime) {
  RunCases(kDevice,
           {
               {"WeekNumber 20210101", "0", 0},
               {"WeekNumber 20210101 <ISO8601>", "53", 0},
               {"WeekNumber 20241230 ISO", "-1", 80700},
               {"WeekNumber 2024123 <ISO8601>", "-1", 0},
               {"IntegerToWeekNumber 73049", "0", 0},
               {"IntegerToWeekNumber -2147483648", "-1", 80132},
               {"DateToWeekNumber 20240305", "10", 0},
               {"DateToWeekNumber 2024", "-1", 0},
               {"WeekToDate 1 2021", "20210104", 0},
               {"WeekToDate 1 2020 <ISO8601>", "20191230", 0},
               {"WeekToDate 1 2020 autre", "20200106", 0},
               {"DateDifference 20240101 20240305", "64", 0},
               {"DateDifference 20240101 2024", "-1", 80134},
               {"TimeDifference 1200 123015", "181500", 0},
               {"TimeDifference 1200 1260", "-1", 80135},
               {"DateTimeDifference 2024010100000000 2024010200000001", "+000000100000001", 0},
               {"DateTimeDifference 20240101 x", "", 80134},
               {"DateAge 19800615", "00430819", 0},
               {"DateAge 19800615 s:", "00430819", 0},
               {"DateAge 19800615 20000615", "00200000", 0},
               {"EasterDate 2024", "20240331", 0},
               {"EasterDate 1582", "", 0},
               {"EasterDate s:2025", "20250420", 0},
               {"EasterDate s:deux", "", 0},
               {"DateToSerial 20240305120000", "45356.5", 0},
               {"DateToSerial 19040102 1", "1", 0},
               {"SerialToDate 45356.75", "20240305180000000", 0},
               {"SerialToDate 0 1", "19040101000000000", 0},
               {"DateTimeToUnixTime 20240305110000", "1709632800", 0},
               {"DateTimeToUnixTime 20240305110000123 2", "1709632800123", 0},
               {"UnixTimeToDateTime 1709632800", "20240305110000000", 0},
               {"UnixTimeToDateTime 1720170000123 2", "20240705110000123", 0},
           });
}

TEST(ClockCli, SettingTheDateAndTimeLastsAcrossProcesses) {
  std::vector<std::string> device = kDevice;
  device.insert(device.end(), {"--device", tqtest::TestDeviceRoot() + "/clock-setting"});
  RunCases(device,
           {
               {"SystemDate 20250102", "none", 0},
               {"SystemDate", "20250102", 0},
               {"SystemTime 0815", "none", 0},
               {"SystemTime", "08150000", 0},
               {"SystemTimeParts 093000", "none", 0},
               {"SystemDate 20250230", "none", 80126},
               {"SystemTime 2500", "none", 80131},
               {"SystemDate 00010101", "none", 0},  // checked here, refused by the device clock
           });
  // The last call failed with the device's own error.
  const JsonValue refused = tqtest::CallJson(device, "SystemDate", {"00010101"});
  EXPECT_NE(refused.find("error")->find("system_code")->integer, 0);
  // A new process sees the changed clock.
  const JsonValue date = tqtest::CallJson(device, "SystemDate", {});
  EXPECT_EQ(date.find("result")->find("value")->text, "20250102");
  const JsonValue time = tqtest::CallJson(device, "SystemTime", {});
  EXPECT_EQ(time.find("result")->find("value")->text.substr(0, 4), "0930");
}

TEST(DateValuesCli, EveryOverloadIsImplemented) {
  const tqtest::Tq240Result r = tqtest::RunTq240({"functions", "--json"});
  ASSERT_EQ(r.exitStatus, 0);
  const std::optional<JsonValue> list = tqhost::ParseJson(r.out);
  ASSERT_TRUE(list.has_value());
  const std::vector<int64_t> ids = {1,   2,   3,   4,   5,   6,   8,   10,  11,  12,  13,  14,
                                    15,  152, 153, 154, 208, 222, 242, 243, 249, 250, 251, 252,
                                    333, 334, 467, 483, 495, 496, 512, 513, 514, 515, 516};
  size_t seen = 0;
  for (const JsonValue& f : list->elements) {
    const int64_t id = f.find("id")->integer;
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) continue;
    ++seen;
    for (const JsonValue& o : f.find("overloads")->elements)
      EXPECT_TRUE(o.find("implemented")->boolean) << id;
  }
  EXPECT_EQ(seen, ids.size());
}

}  // namespace

// Reading the device configuration from the environment.
#include "platform/device_config.h"

#include <gtest/gtest.h>

#include "device_fixture.h"

namespace ce {
namespace {

class DeviceConfigTest : public testing::DeviceTest {};

TEST_F(DeviceConfigTest, DefaultsWhenNothingIsSet) {
  Configure("TQ_DEVICE", nullptr);
  Configure("TQ_TZ", nullptr);
  setenv("XDG_DATA_HOME", "/data/home", 1);
  DeviceConfig config = ReadDeviceConfigFromEnvironment();
  EXPECT_EQ(config.deviceRoot, "/data/home/tq240/device");
  EXPECT_FALSE(config.frozenClock.has_value());
  EXPECT_EQ(config.timeZone, "");
  EXPECT_EQ(config.locale, "fr-FR");
  EXPECT_TRUE(config.problems.empty());

  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(ReadDeviceConfigFromEnvironment().deviceRoot,
            "/home/someone/.local/share/tq240/device");
  unsetenv("XDG_DATA_HOME");
}

TEST_F(DeviceConfigTest, RelativeDeviceRootIsMadeAbsolute) {
  Configure("TQ_DEVICE", "some/dir/");
  const std::string root = CurrentDeviceConfig()->deviceRoot;
  EXPECT_EQ(root.front(), '/');
  EXPECT_EQ(root.substr(root.size() - 9), "/some/dir");
}

TEST_F(DeviceConfigTest, ClockSettings) {
  struct Case {
    const char* text;
    bool valid;
    WORD milliseconds;
    WORD weekday;
  } cases[] = {
      {"2024-03-05T12:00:00", true, 0, 2},
      {"2024-03-05T12:00:00.5", true, 500, 2},
      {"2024-03-05T12:00:00.05", true, 50, 2},
      {"2024-03-05T12:00:00.123", true, 123, 2},
      {"2024-02-29T23:59:59", true, 0, 4},
      {"2023-02-29T00:00:00", false, 0, 0},
      {"2024-03-05 12:00:00", false, 0, 0},
      {"2024-03-05T24:00:00", false, 0, 0},
      {"2024-03-05T12:60:00", false, 0, 0},
      {"2024-03-05T12:00:00.1234", false, 0, 0},
      {"2024-03-05T12:00:00.", false, 0, 0},
      {"2024-03-05T12:00:00Z", false, 0, 0},
      {"1600-01-01T00:00:00", false, 0, 0},
      {"2024-3-5T12:00:00", false, 0, 0},
      {"", false, 0, 0},
  };
  for (const Case& c : cases) {
    std::optional<SYSTEMTIME> time = ParseClockSetting(c.text);
    ASSERT_EQ(time.has_value(), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(time->wMilliseconds, c.milliseconds) << c.text;
      EXPECT_EQ(time->wDayOfWeek, c.weekday) << c.text;
      EXPECT_EQ(ParseClockSetting(FormatClockSetting(*time))->wMilliseconds, c.milliseconds);
    }
  }
}

TEST_F(DeviceConfigTest, UnusableSettingsAreReportedAndReplaced) {
  Configure("TQ_CLOCK", "yesterday");
  Configure("TQ_TZ", "Mars/Olympus_Mons");
  Configure("TQ_LOCALE", "not a locale!");
  const std::shared_ptr<const DeviceConfig> config = CurrentDeviceConfig();
  EXPECT_FALSE(config->frozenClock.has_value());
  EXPECT_EQ(config->locale, "fr-FR");
  ASSERT_EQ(config->problems.size(), 3u);
  EXPECT_NE(config->problems[0].find("TQ_CLOCK"), std::string::npos);
  EXPECT_NE(config->problems[1].find("TQ_TZ"), std::string::npos);
  EXPECT_NE(config->problems[2].find("TQ_LOCALE"), std::string::npos);
}

TEST_F(DeviceConfigTest, ReadOnceUntilReset) {
  Configure("TQ_LOCALE", "en-US");
  const std::shared_ptr<const DeviceConfig> first = CurrentDeviceConfig();
  setenv("TQ_LOCALE", "de-DE", 1);
  EXPECT_EQ(CurrentDeviceConfig()->locale, "en-US");
  EXPECT_EQ(first, CurrentDeviceConfig());
  ResetDeviceConfigForTesting();
  EXPECT_EQ(CurrentDeviceConfig()->locale, "de-DE");
}

}  // namespace
}  // namespace ce

// The device description (.device/device.json): defaults, malformed members, the orientation
// writer, and the locales whose user default language the description's users rely on.
#include "platform/device_description.h"

#include <gtest/gtest.h>

#include "platform/json.h"
#include "platform/locale_ids.h"
#include "tests/platform/device_fixture.h"

namespace ce {
namespace {

TEST(DeviceDescription, AnEmptyDescriptionHasEveryDefault) {
  const DeviceDescription d = ParseDeviceDescription("{}");
  EXPECT_TRUE(d.problems.empty());
  EXPECT_EQ(d.screen.height, 320);
  EXPECT_EQ(d.display.orientations, (std::vector<int32_t>{0, 90, 180, 270}));
  EXPECT_EQ(d.os.platformType, u"PocketPC");
  ASSERT_TRUE(d.deviceId.has_value());
  EXPECT_EQ(d.deviceId->preset.size(), 16u);
  EXPECT_FALSE(ParseDeviceDescription(R"({"device_id": null})").deviceId.has_value());
}

TEST(DeviceDescription, EveryMemberIsRead) {
  const DeviceDescription d = ParseDeviceDescription(R"({
    "screen": {"width": 480, "height": 640},
    "display": {"orientations": [0, 90], "orientation": 90},
    "os": {"major": 6, "minor": 0, "build": 6000, "platform": 2, "csd": "SP1",
           "suite_mask": 256, "platform_type": "Desktop"},
    "device_id": {"preset": "00ff", "platform": "AbCd"},
    "cellular": [{"name": "Modem", "serial": "3541"}],
    "storage_cards": ["Storage Card", "SD"],
    "shares": {"\\\\srv\\docs": {"path": "/tmp/docs", "password": "pw"},
               "\\\\srv\\open": {"path": "/tmp/open"}}})");
  EXPECT_TRUE(d.problems.empty()) << d.problems.front();
  EXPECT_EQ(d.screen.width, 480);
  EXPECT_EQ(d.display.orientations, (std::vector<int32_t>{0, 90}));
  EXPECT_EQ(d.display.orientation, 90);
  EXPECT_EQ(d.os.build, 6000u);
  EXPECT_EQ(d.os.csd, u"SP1");
  EXPECT_EQ(d.os.suiteMask, 256u);
  EXPECT_EQ(d.deviceId->preset, std::string("\x00\xff", 2));
  EXPECT_EQ(d.deviceId->platform, "\xab\xcd");
  ASSERT_EQ(d.cellular.size(), 1u);
  EXPECT_EQ(d.cellular[0].serial, u"3541");
  EXPECT_EQ(d.storageCards, (std::vector<std::u16string>{u"Storage Card", u"SD"}));
  ASSERT_EQ(d.shares.size(), 2u);
  EXPECT_EQ(d.shares.at(u"\\\\srv\\docs").password, std::optional<std::u16string>(u"pw"));
  EXPECT_FALSE(d.shares.at(u"\\\\srv\\open").password.has_value());
  EXPECT_EQ(d.shares.at(u"\\\\srv\\open").hostPath, "/tmp/open");
}

TEST(DeviceDescription, AMalformedMemberIsNamedAndKeepsItsDefault) {
  struct Case {
    const char* json;
    const char* named;
  };
  const Case cases[] = {
      {R"({"screen": {"width": "wide"}})", "screen.width"},
      {R"({"screen": {"width": 0}})", "screen.width"},
      {R"({"display": {"orientations": [0, 400]}})", "display.orientations"},
      {R"({"os": {"build": -1}})", "os.build"},
      {R"({"os": {"csd": 5}})", "os.csd"},
      {R"({"device_id": {"preset": "0g"}})", "device_id.preset"},
      {R"({"device_id": {"preset": "012"}})", "device_id.preset"},
      {R"({"cellular": {"name": "x"}})", "cellular"},
      {R"({"storage_cards": [""]})", "storage_cards"},
      {R"({"shares": {"\\\\s\\x": {"password": "p"}}})", "shares[\"\\\\s\\x\"]"},
      {R"({"colour": 1})", "colour"},
      {R"([1])", "the description"},
  };
  for (const Case& c : cases) {
    const DeviceDescription d = ParseDeviceDescription(c.json);
    ASSERT_EQ(d.problems.size(), 1u) << c.json;
    EXPECT_NE(d.problems[0].find(c.named), std::string::npos) << d.problems[0];
    EXPECT_EQ(d.screen.width, 240) << c.json;
    EXPECT_EQ(d.display.orientations.size(), 4u) << c.json;
    EXPECT_TRUE(d.shares.empty()) << c.json;
  }
  // The well-formed members beside a malformed one are read.
  const DeviceDescription mixed =
      ParseDeviceDescription(R"({"screen": {"width": 480, "height": true}})");
  EXPECT_EQ(mixed.screen.width, 480);
  EXPECT_EQ(mixed.screen.height, 320);
  // Text that is not JSON gives every default.
  const DeviceDescription broken = ParseDeviceDescription("{\"screen\": ");
  ASSERT_EQ(broken.problems.size(), 1u);
  EXPECT_EQ(broken.screen.height, 320);
}

class DeviceDescriptionFile : public testing::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    ResetDeviceDescriptionForTesting();
  }
  void TearDown() override {
    ResetDeviceDescriptionForTesting();
    DeviceTest::TearDown();
  }
  void WriteFile(const std::string& text) { WriteHost(root_ + "/.device/device.json", text); }
  std::string ReadFile() { return ReadHost(root_ + "/.device/device.json"); }
};

TEST_F(DeviceDescriptionFile, AnAbsentFileMeansTheDefaultsAndTheFileIsReadOncePerProcess) {
  EXPECT_EQ(CurrentDeviceDescription()->screen.width, 240);
  EXPECT_TRUE(CurrentDeviceDescription()->problems.empty());
  ResetDeviceDescriptionForTesting();
  WriteFile(R"({"screen": {"width": 480}})");
  EXPECT_EQ(CurrentDeviceDescription()->screen.width, 480);
  WriteFile(R"({"screen": {"width": 800}})");
  EXPECT_EQ(CurrentDeviceDescription()->screen.width, 480);
}

TEST_F(DeviceDescriptionFile, TheOrientationWriterKeepsTheOtherMembers) {
  WriteFile(R"({"screen": {"width": 480}, "display": {"orientations": [0, 180]}, "x": [1.5]})");
  ASSERT_TRUE(WriteDisplayOrientation(180));
  EXPECT_EQ(CurrentDeviceDescription()->display.orientation, 180);
  const std::optional<JsonValue> written = ParseJson(ReadFile());
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->find("display")->find("orientation")->integer, 180);
  EXPECT_EQ(written->find("display")->find("orientations")->elements.size(), 2u);
  EXPECT_EQ(written->find("screen")->find("width")->integer, 480);
  EXPECT_EQ(written->find("x")->elements[0].number, 1.5);
  ResetDeviceDescriptionForTesting();
  EXPECT_EQ(CurrentDeviceDescription()->display.orientation, 180);
  EXPECT_EQ(CurrentDeviceDescription()->screen.width, 480);
}

TEST_F(DeviceDescriptionFile, TheWriterCreatesTheFileAndLeavesBrokenTextAlone) {
  ASSERT_TRUE(WriteDisplayOrientation(90));
  EXPECT_EQ(ParseJson(ReadFile())->find("display")->find("orientation")->integer, 90);
  WriteFile("not json");
  EXPECT_FALSE(WriteDisplayOrientation(270));
  EXPECT_EQ(ReadFile(), "not json");
}

class UserDefaultLanguage : public testing::DeviceTest {};

TEST_F(UserDefaultLanguage, FollowsTheFrenchSpeakingLocales) {
  const std::pair<const char*, LANGID> cases[] = {
      {"fr-FR", 0x040C}, {"fr-BE", 0x080C}, {"fr-CH", 0x100C}, {"en-US", 0x0409}};
  for (const auto& [locale, language] : cases) {
    Configure("TQ_LOCALE", locale);
    EXPECT_EQ(GetUserDefaultLangID(), language) << locale;
  }
}

class RunningApplication : public testing::DeviceTest {};

TEST_F(RunningApplication, ComesFromTheEnvironmentWithADefault) {
  Configure("TQ_APP", nullptr);
  EXPECT_EQ(CurrentDeviceConfig()->applicationPath, u"\\Program Files\\App\\App.exe");
  Configure("TQ_APP", "\\Programmes\\Caisse\\Caisse.exe");
  EXPECT_EQ(CurrentDeviceConfig()->applicationPath, u"\\Programmes\\Caisse\\Caisse.exe");
  Configure("TQ_APP", nullptr);
}

}  // namespace
}  // namespace ce

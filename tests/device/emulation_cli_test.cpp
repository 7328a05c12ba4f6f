// EmulateKeys and EmulateMouse through tq240 on a form written by the tests: what reaches the
// device's input log, the control checks, the focus rule; and PowerTimeout over the registry.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/device/device_fixture.h"

namespace {

using tqhost::JsonValue;
using tqtest::DeviceTest;

constexpr char kForm[] = R"({
  "window": {"name": "Form", "title": "Order", "x": 0, "y": 0, "width": 240, "height": 320},
  "controls": [
    {"name": "EDT_Name", "type": 8, "x": 10, "y": 40, "width": 200, "height": 20},
    {"name": "EDT_Hidden", "type": 8, "x": 10, "y": 70, "width": 200, "height": 20,
     "visible": false},
    {"name": "EDT_Off", "type": 8, "x": 10, "y": 100, "width": 200, "height": 20,
     "enabled": false},
    {"name": "EDT_Grey", "type": 8, "x": 10, "y": 100, "width": 200, "height": 20, "state": 4},
    {"name": "BTN_OK", "type": 4, "x": 10, "y": 130, "width": 80, "height": 30},
    {"name": "LIB_Info", "type": 10, "x": 10, "y": 170, "width": 80, "height": 30},
    {"name": "CBO_List", "type": 14, "x": 10, "y": 210, "width": 80, "height": 30}],
  "focus": "EDT_Name"})";

class Emulation : public tqtest::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    std::ofstream(root_ / "form.json") << kForm;
  }
  JsonValue Emulate(const std::string& function, const std::vector<std::string>& args) {
    return Call(function, args, {"--form", (root_ / "form.json").string()});
  }
  // The keyboard records of the log as "+vk" / "-vk" (release), and the log forgotten.
  std::string TakeKeys() {
    std::string keys;
    for (const JsonValue& r : InputLog()) {
      if (r.find("type")->integer != 1) continue;
      keys += (r.find("dwFlags")->integer & 2) ? " -" : " +";
      keys += std::to_string(r.find("wVk")->integer);
      if (r.find("dwFlags")->integer & 1) keys += 'e';
      if (r.find("time")->integer != 0) keys += 't';
    }
    std::filesystem::remove(root_ / ".device" / "input.log");
    return keys;
  }
};

TEST_F(Emulation, KeysNamesModifiersGroupsAndCountsReachTheLog) {
  struct Case {
    std::vector<std::string> args;
    const char* keys;
  };
  const Case cases[] = {
      {{"k:EDT_Name", "ab", "4"}, " +17 +97 -97 -17 +17 +98 -98 -17"},
      {{"k:EDT_Name", "{TAB:20}"}, " +9t -9"},
      {{"k:Form", "{ENTREE}{ECHAP}"}, " +13 -13 +27 -27"},
  };
  for (const Case& c : cases) {
    const JsonValue record = Emulate("EmulateKeys", c.args);
    EXPECT_EQ(ErrorId(record), 0) << c.args[1];
    EXPECT_TRUE(record.find("result")->kind == JsonValue::Kind::kNull) << c.args[1];
    EXPECT_EQ(TakeKeys(), c.keys) << c.args[1];
  }
  EXPECT_EQ(ErrorId(Emulate("353", {"k:EDT_Name", "{a", "1"})), 81849);
  EXPECT_EQ(TakeKeys(), "");
}

TEST_F(Emulation, ControlsThatCannotTakeInputRaiseTheirErrors) {
  struct Case {
    const char* control;
    int64_t error;
  };
  const Case cases[] = {{"k:Missing", 81500}, {"k:LIB_Info", 81500}, {"k:EDT_Hidden", 81501},
                        {"k:EDT_Off", 81502}, {"k:EDT_Grey", 81502}, {"k:BTN_OK", 81503}};
  for (const Case& c : cases) {
    const JsonValue record = Emulate("EmulateKeys", {c.control, "x"});
    EXPECT_EQ(ErrorId(record), c.error) << c.control;
    EXPECT_NE(record.find("error")->find("message")->text.find(c.control + 2), std::string::npos);
  }
  EXPECT_EQ(TakeKeys(), "");
  // A list takes the keys even without the focus: they go to the focused window.
  EXPECT_EQ(ErrorId(Emulate("EmulateKeys", {"k:CBO_List", "x"})), 0);
  EXPECT_EQ(TakeKeys(), " +120 -120");
}

TEST_F(Emulation, MouseClickMovesThereAndClicksWithItsButton) {
  struct Case {
    const char* action;
    std::vector<int64_t> buttons;  // the button records' flags, in order
  };
  const Case cases[] = {{"i:65536", {2, 4}},          {"i:131072", {2, 4, 2, 4}},
                        {"i:196608", {2}},            {"i:1048576", {8, 16}},
                        {"i:4194304", {16}},          {"i:16777216", {32, 64}},
                        {"i:33554432", {32, 64, 32, 64}}, {"i:0", {}}};
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorId(Emulate("EmulateMouse", {"k:BTN_OK", c.action, "i:10", "i:20"})), 0);
    std::vector<int64_t> buttons;
    int64_t lastDx = -1, lastDy = -1;
    size_t moves = 0;
    for (const JsonValue& r : InputLog()) {
      const int64_t flags = r.find("dwFlags")->integer;
      if (flags == 0x8001) {
        ++moves;
        lastDx = r.find("dx")->integer;
        lastDy = r.find("dy")->integer;
      } else {
        buttons.push_back(flags);
      }
    }
    std::filesystem::remove(root_ / ".device" / "input.log");
    EXPECT_EQ(buttons, c.buttons) << c.action;
    EXPECT_GE(moves, 10u) << c.action;
    // (10, 20) in the button is (20, 150) on the 240 x 320 screen.
    EXPECT_EQ(lastDx, (20 * 65535 + 119) / 239) << c.action;
    EXPECT_EQ(lastDy, (150 * 65535 + 159) / 319) << c.action;
  }
  // Beyond the button's size the click lands in its middle; Shift wraps every element.
  EXPECT_EQ(ErrorId(Emulate("352", {"k:BTN_OK", "i:65537", "i:500", "i:500"})), 0);
  const std::vector<JsonValue> log = InputLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().find("wVk")->integer, 16);
  EXPECT_EQ(ErrorId(Emulate("EmulateMouse", {"k:EDT_Hidden", "i:65536", "1", "1"})), 81501);
}

TEST_F(DeviceTest, PowerTimeoutsReadAndReplaceTheirRegistryValues) {
  const std::string power = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Power";
  EXPECT_EQ(SystemCode(Call("PowerTimeout", {"1"})), 2);  // a device without the keys
  EXPECT_EQ(Text("RegistryCreateKey", {power + "\\Timeouts"}), "true");
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"DisableGwesPowerOff", "i:0"}, {"BattPowerOff", "i:180"}, {"ExtPowerOff", "i:0"}}) {
    EXPECT_EQ(Text("RegistrySetValue", {power, name, value}), "true");
  }
  EXPECT_EQ(Text("PowerTimeout", {"1"}), "180");
  EXPECT_EQ(Text("PowerTimeout", {"1", "300"}), "180");
  EXPECT_EQ(Text("PowerTimeout", {"1", "i:-10"}), "300");
  EXPECT_EQ(ErrorId(Call("PowerTimeout", {"1", "i:-5"})), 80145);
  EXPECT_EQ(ErrorId(Call("PowerTimeout", {"3"})), 80145);
  EXPECT_EQ(Text("347"), "false");
  EXPECT_EQ(Text("PowerTimeout", {"2", "60"}), "0");
  EXPECT_EQ(Text("347"), "true");
  // With GWES power-off disabled, the suspend timeouts of the Timeouts key count.
  EXPECT_EQ(Text("RegistrySetValue", {power, "DisableGwesPowerOff", "i:1"}), "true");
  EXPECT_EQ(Text("RegistrySetValue", {power + "\\Timeouts", "BattSuspendTimeout", "i:15"}),
            "true");
  EXPECT_EQ(Text("PowerTimeout", {"1"}), "15");
  const JsonValue missing = Call("PowerTimeout", {"2"});
  EXPECT_EQ(SystemCode(missing), 2);
  EXPECT_EQ(missing.find("result")->find("value")->integer, -1);
}

}  // namespace

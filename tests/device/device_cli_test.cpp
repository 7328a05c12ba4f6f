// The device and system information functions through tq240, on devices described by the
// tests: defaults, device.json members, changes seen by the next process, and devices without
// identifier, telephony or storage-card module.
#include <gtest/gtest.h>

#include "tests/device/device_fixture.h"

namespace {

using tqtest::DeviceTest;

TEST_F(DeviceTest, DisplayOrientationsListTheAcceptedAnglesAndChangesPersist) {
  WriteDeviceFile("device.json",
                  R"({"screen": {"width": 240, "height": 320},
                      "display": {"orientations": [0, 90], "orientation": 0}})");
  EXPECT_EQ(Text("DisplayOrientations"), "0\r\n90");
  EXPECT_EQ(Text("DisplayOrientation"), "0");
  EXPECT_EQ(Text("ScreenSize"), "240");
  EXPECT_EQ(Text("DisplayOrientation", {"90"}), "90");
  // A second process starts with the new orientation; the screen turned with it.
  EXPECT_EQ(Text("DisplayOrientation"), "90");
  EXPECT_EQ(Text("40"), "320");
  EXPECT_EQ(Text("41"), "240");

  tqhost::JsonValue refused = Call("DisplayOrientation", {"180"});
  EXPECT_EQ(ErrorId(refused), 80147);
  EXPECT_EQ(refused.find("result")->find("value")->text, "90");
  EXPECT_EQ(ErrorId(Call("DisplayOrientation", {"45"})), 80700);
  EXPECT_EQ(Text("DisplayOrientation"), "90");
  EXPECT_NE(ReadDeviceFile("device.json").find("\"orientations\": [0, 90]"), std::string::npos);
}

TEST_F(DeviceTest, DisplayWithoutAnyAcceptedOrientationFails) {
  WriteDeviceFile("device.json", R"({"display": {"orientations": []}})");
  EXPECT_EQ(ErrorId(Call("DisplayOrientations")), 80147);
  EXPECT_EQ(ErrorId(Call("DisplayOrientation")), 80147);
}

TEST_F(DeviceTest, DeviceIdentifierJoinsBothPartsInHexOrFailsWithoutHardwareCall) {
  WriteDeviceFile("device.json",
                  R"({"device_id": {"preset": "01020aff", "platform": "0010"}})");
  EXPECT_EQ(Text("DeviceIdentifier"), "01020AFF-0010");
  WriteDeviceFile("device.json", R"({"device_id": {"preset": "", "platform": ""}})");
  EXPECT_EQ(Text("DeviceIdentifier"), "-");
  WriteDeviceFile("device.json", R"({"device_id": null})");
  const tqhost::JsonValue failed = Call("DeviceIdentifier");
  EXPECT_EQ(ErrorId(failed), 80702);
  EXPECT_NE(failed.find("error")->find("message")->text.find("50"), std::string::npos);
}

TEST_F(DeviceTest, ImeiComesFromTheChosenLineAndIsEmptyWithoutTelephony) {
  EXPECT_EQ(Text("DeviceIMEI", {"n:"}), "");
  WriteDeviceFile("device.json", R"({"cellular": [{"name": "Voice", "serial": "351111"},
                                                  {"name": "Data", "serial": "352222"}]})");
  EXPECT_EQ(Text("DeviceIMEI", {"n:"}), "351111");
  EXPECT_EQ(Text("DeviceIMEI", {"Data"}), "352222");
  EXPECT_EQ(Text("DeviceIMEI", {"data"}), "");
  EXPECT_EQ(ErrorId(Call("DeviceIMEI", {"Fax"})), 0);
}

TEST_F(DeviceTest, StorageCardsAreListedOrTheModuleIsMissing) {
  EXPECT_EQ(Text("StorageCards"), "");
  WriteDeviceFile("device.json", R"({"storage_cards": ["Storage Card", "SD2"]})");
  EXPECT_EQ(Text("StorageCards"), "\\Storage Card\r\n\\SD2");
  WriteDeviceFile("device.json", R"({"storage_cards": null})");
  const tqhost::JsonValue missing = Call("StorageCards");
  EXPECT_EQ(SystemCode(missing), 126);
  EXPECT_EQ(missing.find("error")->find("level")->integer, 2);
}

TEST_F(DeviceTest, SystemVersionKinds) {
  struct Case {
    const char* os;
    const char* kind;
    const char* expected;
  };
  const Case cases[] = {
      {R"({"major": 5, "minor": 2, "build": 21043})", "0", "CE 6.5"},
      {R"({"major": 5, "minor": 2, "build": 20000})", "0", "CE 6"},
      {R"({"major": 6, "minor": 0})", "0", "CE 6"},
      {R"({"major": 5, "minor": 1})", "0", "CE 5"},
      {R"({"major": 4, "minor": 21})", "0", "CE 4"},
      {R"({"major": 3})", "0", "CE 3"},
      {R"({"major": 5, "platform": 2})", "0", ""},
      {R"({"major": 5, "minor": 1})", "1", "5.1"},
      {R"({"build": 131075})", "2", "3"},
      {R"({"build": 131075, "platform": 2})", "2", "131075"},
      {R"({"platform_type": "PocketPC"})", "3", "PocketPC"},
      {R"({"platform_type": ""})", "3", "Smartphone"},
      {R"({"csd": "Service Pack 1"})", "4", "Service Pack 1"},
      {R"({"csd": "SP2", "platform": 2, "major": 5, "minor": 1})", "4", "SP2,Pro"},
      {R"({"platform": 2, "major": 5, "minor": 1, "suite_mask": 512})", "4", "Home Edition"},
      {R"({})", "5", "32"},
  };
  for (const Case& c : cases) {
    WriteDeviceFile("device.json", std::string(R"({"os": )") + c.os + "}");
    EXPECT_EQ(Text("SystemVersion", {c.kind}), c.expected) << c.os << " kind " << c.kind;
  }
  EXPECT_EQ(Text("236"), "32");
  const tqhost::JsonValue bad = Call("SystemVersion", {"6"});
  EXPECT_EQ(ErrorId(bad), 80144);
  EXPECT_EQ(bad.find("result")->find("value")->text, "");
}

TEST_F(DeviceTest, SpecialFoldersMapToTheDeviceFolders) {
  struct Case {
    const char* folder;
    const char* path;
  };
  const Case cases[] = {{"0", "\\Windows"},          {"1", "\\Windows"},
                        {"4", "\\Windows\\Start Menu\\Programs"},
                        {"18", "\\My Documents"},    {"28", "\\Program Files"},
                        {"29", "\\Program Files"},   {"68", "\\Windows"}};
  for (const Case& c : cases) EXPECT_EQ(Text("SpecialFolder", {c.folder}), c.path) << c.folder;
  EXPECT_EQ(Text("48"), "\\Windows");
  const tqhost::JsonValue absent = Call("SpecialFolder", {"13"});
  EXPECT_EQ(SystemCode(absent), 0x80070057);
  for (const char* bad : {"30", "-1", "56", "69"}) {
    EXPECT_EQ(ErrorId(Call("SpecialFolder", {bad})), 80145) << bad;
  }
}

TEST_F(DeviceTest, ClipboardTextAndBitmapComeFromTheDeviceFiles) {
  EXPECT_EQ(Text("ClipboardText"), "");
  EXPECT_EQ(Text("ClipboardBitmapSize"), "-1");
  WriteDeviceFile("clipboard.txt", "Grüße\r\nline 2");
  const tqhost::JsonValue text = Call("ClipboardText");
  EXPECT_EQ(text.find("result")->find("type")->integer, 130);
  EXPECT_EQ(text.find("result")->find("value")->text, "Grüße\r\nline 2");
  EXPECT_EQ(Call("406").find("result")->find("type")->integer, 16);

  // A 3 x 2 bitmap: file header, then the information header.
  std::string bmp = "BM" + std::string(12, '\0');
  const unsigned char info[40] = {40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
  bmp.append(reinterpret_cast<const char*>(info), sizeof info);
  WriteDeviceFile("clipboard.bmp", bmp);
  EXPECT_EQ(Text("226"), "2");
  EXPECT_EQ(Text("227"), "3");
  // A header that is no bitmap: the sizes are read from the raw header words.
  WriteDeviceFile("clipboard.bmp", "BM" + std::string(12, '\0') + std::string("\x07\0\0\0\x05\0\0\0\x09\0\0\0", 12));
  EXPECT_EQ(Text("226"), "9");
  EXPECT_EQ(Text("227"), "5");
}

TEST_F(DeviceTest, PowerActionsAreLoggedAndOthersRefused) {
  for (const char* action : {"2", "3", "4", "5"}) EXPECT_EQ(Text("PowerAction", {action}), "true");
  EXPECT_EQ(ReadDeviceFile("power.log"),
            "{\"event\": \"power-off\"}\n{\"event\": \"reboot\"}\n"
            "{\"event\": \"power-state\", \"flags\": 1048576}\n"
            "{\"event\": \"power-state\", \"flags\": 65536}\n");
  const tqhost::JsonValue refused = Call("PowerAction", {"6"});
  EXPECT_EQ(ErrorId(refused), 80145);
  EXPECT_FALSE(refused.find("result")->find("value")->boolean);
}

TEST_F(DeviceTest, WindowTitleWithoutWindowsFails) {
  EXPECT_EQ(ErrorId(Call("WindowTitle")), 80140);
  EXPECT_EQ(ErrorId(Call("WindowTitle", {"i:65552"})), 80140);
}

}  // namespace

// The update check end to end through tq240: registry settings written on the device, the
// version file served by a loopback server, newer, same, older and malformed versions, and the
// update program (a script in the device root that records its argument) started or not.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/device_config.h"
#include "platform/registry.h"
#include "tests/net/http_test_server.h"
#include "tests/support/tq240_process.h"

namespace tqtest {
namespace {

const char kShop[] = "\\Program Files\\Shop\\Shop.exe";
const char16_t kShopKey[] = u"Software\\ORVANTE\\TARVEX Mobile\\24.0\\APPLI\\Shop";

class UpdateCheckCli : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = TestDeviceRoot() + "-update-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ + "/Runtime");
    setenv("TQ_DEVICE", root_.c_str(), 1);
    setenv("TQ_APP", kShop, 1);  // the running application, for tq240 and its children
    ce::ResetDeviceConfigForTesting();
    SetValue(u"Software\\ORVANTE\\TARVEX Mobile\\24.0", u"CHEMIN", u"\\Runtime");
    const std::string program = root_ + "/Runtime/QM240APPLIMOBILE.EXE";
    // Written aside and renamed: the test waits for args.txt and must never read it half made.
    std::ofstream(program) << "#!/bin/sh\nprintf '%s' \"$1\" > \"$TQ_DEVICE/args.tmp\"\n"
                              "mv \"$TQ_DEVICE/args.tmp\" \"$TQ_DEVICE/args.txt\"\n";
    ::chmod(program.c_str(), 0755);
  }
  void TearDown() override {
    unsetenv("TQ_APP");
    // An update program started by the test may still be writing its file: retry a moment.
    std::error_code error;
    for (int i = 0; i < 50; ++i) {
      std::filesystem::remove_all(root_, error);
      if (!error) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  void SetValue(const char16_t* key, const char16_t* name, std::u16string_view text) {
    ce::HKEY handle = nullptr;
    ASSERT_EQ(ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, ce::KEY_SET_VALUE,
                                  nullptr, &handle, nullptr),
              0);
    const std::u16string data(text);
    ce::RegSetValueExW(handle, name, 0, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(data.c_str()),
                       static_cast<ce::DWORD>((data.size() + 1) * 2));
    ce::RegCloseKey(handle);
  }
  void Configure(uint16_t port, const char16_t* installed, bool web = true) {
    const std::string digits = std::to_string(port);
    SetValue(kShopKey, u"UPDATE_URL",
             u"http://127.0.0.1:" + std::u16string(digits.begin(), digits.end()) + u"/app/");
    SetValue(kShopKey, u"VERSION", installed);
    if (web) SetValue(kShopKey, u"UPDATE_HTTP", u"1");
  }
  tqhost::JsonValue Call(const std::string& function, const std::vector<std::string>& args) {
    return CallJson({"--device", root_}, function, args);
  }
  // The argument the update program received, waiting a little for it to run.
  std::string LaunchedWith() {
    const std::string path = root_ + "/args.txt";
    for (int i = 0; i < 50 && !std::filesystem::exists(path); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), {});
  }
  std::string root_;
};

TEST_F(UpdateCheckCli, TheServersVersionIsReadFromItsVersionFile) {
  HttpTestServer server({Send(OkHead(14)), Send("VERSION=2.10\r\n")});
  Configure(server.port(), u"2.9");
  const tqhost::JsonValue record = Call("UpdateInfo", {"11"});
  EXPECT_EQ(record.find("result")->find("value")->text, "2.10");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0],
            "GET /app/VERSION.TZ HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: */*\r\n\r\n");
  EXPECT_EQ(Call("UpdateInfo", {"10"}).find("result")->find("value")->text, "2.9");
  EXPECT_EQ(Call("UpdateInfo", {"2"}).find("result")->find("value")->text, "HTTP");
}

TEST_F(UpdateCheckCli, NewerSameOlderAndMalformedVersions) {
  struct Case {
    const char* served;
    const char16_t* installed;
    bool launched;
  };
  const Case cases[] = {
      {"VERSION=1.10\r\n", u"1.9", true},       // digits compare by value
      {"VERSION=1.9\r\n", u"1.10", false},
      {"VERSION=1.10\r\n", u"1.10", false},
      {"VERSION=24.0.2\nNOTE=x\n", u"24.0.1", true},
      {"no version here", u"1.0", false},        // an absent entry is the empty version
      {"\x01\xff[junk\r\n=\r\n", u"1.0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.served);
    std::filesystem::remove(root_ + "/args.txt");
    const std::string body = c.served;
    HttpTestServer server({Send(OkHead(body.size())), Send(body)});
    Configure(server.port(), c.installed);
    const tqhost::JsonValue record = Call("UpdateCheckAndLaunch", {});
    EXPECT_TRUE(record.find("result")->find("value")->boolean);
    EXPECT_EQ(record.find("error")->find("id")->integer, 0);
    if (c.launched) {
      EXPECT_EQ(LaunchedWith(), " /UPDATE=\"Shop\" /CMD=\"\\Program Files\\Shop\\Shop.exe\" ");
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      EXPECT_FALSE(std::filesystem::exists(root_ + "/args.txt"));
    }
  }
}

TEST_F(UpdateCheckCli, NoWebUpdateMeansNoNetworkAccess) {
  HttpTestServer server({Send(OkHead(12)), Send("VERSION=9.9\n")});
  Configure(server.port(), u"1.0", false);
  EXPECT_TRUE(Call("UpdateCheckAndLaunch", {}).find("result")->find("value")->boolean);
  SetValue(kShopKey, u"UPDATE_HTTP", u"");  // a zero word
  EXPECT_TRUE(Call("UpdateCheckAndLaunch", {}).find("result")->find("value")->boolean);
  SetValue(kShopKey, u"UPDATE_HTTP", u"12");  // longer than 4 bytes
  EXPECT_TRUE(Call("UpdateCheckAndLaunch", {}).find("result")->find("value")->boolean);
  EXPECT_EQ(server.connections(), 0);
}

TEST_F(UpdateCheckCli, AServerThatCannotBeReachedFailsWith81630) {
  uint16_t closed;
  {
    HttpTestServer gone({});
    closed = gone.port();
  }
  Configure(closed, u"1.0");
  const tqhost::JsonValue record = Call("UpdateCheckAndLaunch", {});
  EXPECT_FALSE(record.find("result")->find("value")->boolean);
  EXPECT_EQ(record.find("error")->find("id")->integer, 81630);
  EXPECT_NE(record.find("error")->find("message")->text.find("127.0.0.1"), std::string::npos);
}

TEST_F(UpdateCheckCli, TwoChecksWithinFiveSecondsDownloadOnce) {
  HttpTestServer server({Send(OkHead(12)), Send("VERSION=1.0\n")});
  Configure(server.port(), u"1.0");
  const std::string script = "UpdateInfo 11\nUpdateInfo 11\nUpdateCheckAndLaunch\n";
  const Tq240Result r = RunTq240({"--device", root_, "script", "-"}, script);
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(server.connections(), 1);
}

TEST_F(UpdateCheckCli, SettingsByKindAndTheirErrors) {
  const struct {
    std::string function;
    std::vector<std::string> args;
    int64_t error;
  } cases[] = {
      {"UpdateSetting", {"3", "http://h/app/"}, 0},
      {"UpdateSetting", {"10", "1.2", "\\Apps\\Other.exe"}, 0},
      {"UpdateSetting", {"2", "FTP"}, 81632},
      {"UpdateSetting", {"11", "9"}, 81632},
      {"UpdateInfo", {"4"}, 81631},
      {"UpdateInfo", {"1"}, 81633},   // never written
      {"UpdateInfo", {"10", "C:\\Apps\\Other.EXE"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.function + " " + c.args[0]);
    EXPECT_EQ(Call(c.function, c.args).find("error")->find("id")->integer, c.error);
  }
  const tqhost::JsonValue missing = Call("UpdateInfo", {"1"});
  EXPECT_EQ(missing.find("error")->find("system_code")->integer, 2);
  EXPECT_NE(missing.find("error")->find("message")->text.find("APPLI\\Shop"), std::string::npos);
  EXPECT_EQ(Call("UpdateInfo", {"10", "\\\\srv\\share\\Other.exe"}).find("result")->find("value")->text,
            "1.2");
}

}  // namespace
}  // namespace tqtest

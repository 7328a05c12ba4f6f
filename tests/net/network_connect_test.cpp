// NetworkConnect through tq240 against the shares of the device's description, and the mapping
// of every platform result the device can give.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "net/network_connect.h"
#include "tests/dates/proxy_fixture.h"
#include "tests/support/tq240_process.h"

namespace tqtest {
namespace {

class NetworkConnectCli : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = TestDeviceRoot() + "-shares-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ + "/.device");
    std::filesystem::create_directories(root_ + "-share");
  }
  void TearDown() override {
    std::filesystem::remove_all(root_);
    std::filesystem::remove_all(root_ + "-share");
  }
  void Describe(const std::string& shares) {
    std::ofstream(root_ + "/.device/device.json") << "{\"shares\": " << shares << "}";
  }
  // (result, error id) of NetworkConnect with these arguments.
  std::pair<int64_t, int64_t> Connect(const std::vector<std::string>& args) {
    const tqhost::JsonValue record = CallJson({"--device", root_}, "NetworkConnect", args);
    const tqhost::JsonValue* result = record.find("result");
    const tqhost::JsonValue* error = record.find("error");
    if (result == nullptr || error == nullptr) return {-1, -1};
    return {result->find("value")->integer, error->find("id")->integer};
  }
  std::string root_;
};

TEST_F(NetworkConnectCli, EveryOutcomeOfTheDeviceShares) {
  Describe("{\"\\\\\\\\srv\\\\docs\": {\"path\": \"" + root_ + "-share\", \"password\": \"pw\"},"
           " \"\\\\\\\\srv\\\\open\": {\"path\": \"" + root_ + "-share\"}}");
  struct Case {
    std::vector<std::string> args;
    int64_t result;
    int64_t error;
  };
  const std::vector<Case> cases = {
      {{"X", "\\\\srv\\docs", "pw"}, 0, 0},
      {{"X", "\\\\srv\\open"}, 7, 80218},        // the local name is taken
      {{"x", "\\\\SRV\\OPEN"}, 7, 80218},        // names compare without case
      {{"Y", "\\\\srv\\docs", "wrong"}, 13, 80222},
      {{"Y", "\\\\srv\\docs"}, 13, 80222},       // no password is the empty one
      {{"Y", "\\\\srv\\docs", "user", "pw"}, 0, 0},
      {{"", "\\\\srv\\open"}, 0, 0},              // no local name: nothing is named
      {{"Z", "\\\\nobody\\docs"}, 11, 80221},
      {{"Z", "\\\\srv\\nothing"}, 11, 80221},
      {{"Z", "not a remote name"}, 11, 80221},
      {{"a:b", "\\\\srv\\open"}, 12, 80220},
      {{"Z", "n:"}, 10, 80216},                   // no remote name at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    EXPECT_EQ(Connect(c.args), std::make_pair(c.result, c.error));
  }
  std::ifstream table(root_ + "/.device/connections.txt");
  std::string text((std::istreambuf_iterator<char>(table)), {});
  EXPECT_EQ(text, "X\t\\\\srv\\docs\nY\t\\\\srv\\docs\n");
}

TEST_F(NetworkConnectCli, ADeviceWithoutTheServiceGivesZeroAndNoError) {
  Describe("null");
  EXPECT_EQ(Connect({"X", "\\\\srv\\docs", "pw"}), std::make_pair(int64_t{0}, int64_t{0}));
}

TEST_F(NetworkConnectCli, TheSystemCodeOfAnUnexpectedResultIsKept) {
  Describe("{}");
  const tqhost::JsonValue record = CallJson({"--device", root_}, "NetworkConnect", {"X", "n:"});
  EXPECT_EQ(record.find("error")->find("system_code")->integer, 87);
}

class ConnectionResults : public ProxyTest {};

TEST_F(ConnectionResults, EveryPlatformResultHasItsStatusAndError) {
  const struct {
    uint32_t platform;
    int32_t status;
    uint32_t error;
  } cases[] = {{0, 0, 0},         {1206, 5, 80211}, {1205, 6, 80212}, {66, 4, 80219},
               {85, 7, 80218},    {1202, 7, 80218}, {1203, 8, 80223}, {1222, 9, 80224},
               {53, 11, 80221},   {67, 11, 80221},  {1200, 12, 80220}, {86, 13, 80222},
               {5, 14, 80217},    {31, 10, 80216},  {12345, 10, 80216}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.platform);
    EXPECT_EQ(tq::net::MapConnectionResult(proxy_, c.platform, u"L", u"\\\\s\\r"), c.status);
    if (c.error == 80216) {
      EXPECT_EQ(tq::ErrorStateOf(proxy_)->systemCode, c.platform);
    }
    EXPECT_EQ(TakeError(), c.error);
  }
}

}  // namespace
}  // namespace tqtest

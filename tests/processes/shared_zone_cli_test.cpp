// Shared zones between processes: tq240 sessions side by side, and zone_peer acting on the
// same zone with the library's zone code (a writer, a reader, a process that never
// acknowledges, an owner killed while it holds the zone mutex).
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/named_object.h"
#include "tests/processes/script_session.h"
#include "tests/support/tq240_process.h"

namespace {

using tqtest::ScriptSession;
using tqtest::Shell;

const std::string kPeer = TQ_ZONE_PEER;

// Peers killed by the tests leave their references behind: the device's objects are removed
// when the tests end, as the device's next first process would.
class RemoveObjectsAtEnd : public ::testing::Environment {
 public:
  void TearDown() override {
    setenv("TQ_DEVICE", tqtest::TestDeviceRoot().c_str(), 1);
    ce::RemoveDeviceObjects();
  }
};
[[maybe_unused]] const auto* const kCleanup = ::testing::AddGlobalTestEnvironment(new RemoveObjectsAtEnd);

// zone_peer in the background; its pid once it has printed its first line.
pid_t StartPeer(const std::string& mode, const std::string& zone) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return -1;
  const std::string device = tqtest::TestDeviceRoot();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    setenv("TQ_DEVICE", device.c_str(), 1);
    execl(kPeer.c_str(), kPeer.c_str(), mode.c_str(), zone.c_str(), nullptr);
    _exit(127);
  }
  close(out[1]);
  char c = 0;
  while (read(out[0], &c, 1) == 1 && c != '\n') {
  }
  close(out[0]);
  return pid;
}

std::string PeerOutput(const std::string& arguments) {
  const std::string command = "'" + kPeer + "' " + arguments;
  std::string output;
  if (FILE* pipe = popen(("TQ_DEVICE='" + tqtest::TestDeviceRoot() + "' " + command).c_str(), "r")) {
    char buffer[256];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

int64_t Value(const std::optional<ce::JsonValue>& record) {
  return record ? record->find("result")->find("value")->integer : -99;
}

bool Truth(const std::optional<ce::JsonValue>& record) {
  return record && record->find("result")->find("value")->boolean;
}

TEST(SharedZone, WrittenContentAndNotificationReachTheOtherProcess) {
  ScriptSession listener;
  EXPECT_EQ(Value(listener.Run("z = SharedZoneOpen news 256 2 3 p:onNews")), 2);
  ScriptSession other;
  EXPECT_TRUE(Truth(other.Run("SharedZoneExists news")));
  EXPECT_FALSE(Truth(other.Run("SharedZoneExists news 1")));  // another scope
  EXPECT_EQ(Value(other.Run("z = SharedZoneOpen news 256")), 2);

  EXPECT_EQ(Shell("'" + kPeer + "' write news hello"), 0);
  EXPECT_EQ(PeerOutput("read news 5"), "hello");
  // The listener acknowledged: a writer's wait completes at once.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(Truth(other.Run("SharedZoneWait $z 5000")));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));

  std::string calls;
  for (const ce::JsonValue& record : listener.Finish()) {
    if (const ce::JsonValue* list = record.find("procedure_calls")) {
      for (const ce::JsonValue& call : list->elements) {
        calls += call.find("procedure")->text + "(" + call.find("args")->elements[0].text + ")";
      }
    }
  }
  EXPECT_EQ(calls, "onNews(news)");
}

TEST(SharedZone, WaitTimesOutWhileAProcessHasNotAcknowledged) {
  const pid_t idle = StartPeer("idle", "slow");
  ScriptSession writer;
  EXPECT_EQ(Value(writer.Run("z = SharedZoneOpen slow 64")), 2);
  EXPECT_TRUE(Truth(writer.Run("SharedZoneWait $z 100")));  // nothing written yet
  EXPECT_EQ(Shell("'" + kPeer + "' write slow x"), 0);       // idle never acknowledges
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Truth(writer.Run("SharedZoneWait $z 200")));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  // A registered process that dies is no longer waited for.
  kill(idle, SIGKILL);
  waitpid(idle, nullptr, 0);
  EXPECT_TRUE(Truth(writer.Run("SharedZoneWait $z")));
}

TEST(SharedZone, MutexOfAKilledOwnerIsRecovered) {
  ScriptSession next;  // started first: it is not alone, so nothing is cleaned up for it
  ASSERT_TRUE(next.Run("SharedZoneExists crash").has_value());
  const pid_t holder = StartPeer("hold", "crash");
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(Value(next.Run("SharedZoneOpen crash 64")), 2);
  EXPECT_EQ(Value(next.Run("SharedZoneOpen crash 64")), 3);
}

TEST(SharedZone, ErrorsAndTextMark) {
  ScriptSession s;
  const auto refused = s.Run("SharedZoneOpen empty 0");
  EXPECT_EQ(Value(refused), -1);
  EXPECT_EQ(refused->find("error")->find("id")->integer, 81508);
  const auto marked = s.Run("SharedZoneOpen text 16 2 i:4099");
  EXPECT_EQ(Value(marked), 2);
  EXPECT_EQ(PeerOutput("read text 2"), "\xFF\xFE");
  const auto notZone = s.Run("SharedZoneWait i:1");
  EXPECT_EQ(notZone->find("error")->find("id")->integer, 80022);
  EXPECT_FALSE(Truth(s.Run("SharedZoneExists nothing")));
}

}  // namespace

// The process functions through tq240: only the device's processes are counted, listed and
// ended, whatever pids the application passes.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/processes/script_session.h"
#include "tests/support/tq240_process.h"

namespace {

using tqtest::CallJson;
using tqtest::ProcessExists;
using tqtest::ScriptSession;
using tqtest::TestDeviceRoot;

int64_t Value(const ce::JsonValue& record) {
  return record.find("result")->find("value")->integer;
}

std::string Text(const ce::JsonValue& record) {
  return record.find("result")->find("value")->text;
}

// A device program that sleeps; its pid.
int64_t StartSleeper(const std::string& name) {
  tqtest::WriteProgram(name, "#!/bin/sh\nexec sleep 30\n");
  return Value(CallJson({}, "LaunchProgramEx", {"\\" + name, "i:1", "i:3"}));
}

bool EndsSoon(pid_t pid) {
  for (int i = 0; i < 200 && ProcessExists(pid); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return !ProcessExists(pid);
}

TEST(ProcessTable, StartedProgramsAreCountedListedAndEnded) {
  const int64_t pid = StartSleeper("sleeper.exe");
  ASSERT_GT(pid, 1);
  EXPECT_TRUE(ProcessExists(static_cast<pid_t>(pid)));
  struct Count {
    std::string argument;
    int64_t expected;
  } counts[] = {{"sleeper", 1}, {"SLEEPER.EXE", 1}, {"\\Any\\Sleeper.exe", 1},
                {"sleeper.com", 0}, {"sleep", 0}, {"i:" + std::to_string(pid), 1}};
  for (const Count& c : counts) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(Value(CallJson({}, "ProcessCount", {c.argument})), c.expected);
  }
  const std::string list = Text(CallJson({}, "ProcessList", {"i:0", "i:3"}));
  EXPECT_NE(list.find("sleeper.exe\t" + std::to_string(pid)), std::string::npos) << list;
  EXPECT_NE(list.find("App.exe\t"), std::string::npos) << list;  // the calling application
  const std::string full = Text(CallJson({}, "ProcessList", {"i:1", "i:-1", "i:6", "i:8"}));
  EXPECT_NE(full.find("\\sleeper.exe\t0\t"), std::string::npos) << full;

  const auto ended = CallJson({}, "ProcessTerminate", {"i:" + std::to_string(pid)});
  EXPECT_TRUE(ended.find("result")->find("value")->boolean);
  EXPECT_TRUE(EndsSoon(static_cast<pid_t>(pid)));
  EXPECT_EQ(Value(CallJson({}, "ProcessCount", {"i:" + std::to_string(pid)})), 0);
  EXPECT_EQ(Value(CallJson({}, "ProcessCount", {"sleeper"})), 0);
}

TEST(ProcessTable, TerminatingByNameEndsEveryCopy) {
  const int64_t first = StartSleeper("Twin.exe");
  const int64_t second = StartSleeper("Twin.exe");
  EXPECT_EQ(Value(CallJson({}, "ProcessCount", {"twin"})), 2);
  EXPECT_TRUE(CallJson({}, "ProcessTerminate", {"TWIN"}).find("result")->find("value")->boolean);
  EXPECT_TRUE(EndsSoon(static_cast<pid_t>(first)));
  EXPECT_TRUE(EndsSoon(static_cast<pid_t>(second)));
}

TEST(ProcessTable, HostProcessesAndReusedPidsAreNeverTouched) {
  // A host process the device did not start, and a record claiming its pid with another
  // start time, as if a device program had ended and its pid had been reused.
  const pid_t outsider = fork();
  if (outsider == 0) {
    execl("/bin/sleep", "sleep", "30", nullptr);
    _exit(127);
  }
  const std::string pid = std::to_string(outsider);
  std::filesystem::create_directories(TestDeviceRoot() + "/.device/processes");
  std::ofstream(TestDeviceRoot() + "/.device/processes/" + pid) << "1\n\\reused.exe\n";
  EXPECT_EQ(Value(CallJson({}, "ProcessCount", {"i:" + pid})), 0);
  EXPECT_EQ(Value(CallJson({}, "ProcessCount", {"reused"})), 0);
  const auto refused = CallJson({}, "ProcessTerminate", {"i:" + pid});
  EXPECT_FALSE(refused.find("result")->find("value")->boolean);
  EXPECT_EQ(refused.find("error")->find("id")->integer, 80101);
  EXPECT_FALSE(CallJson({}, "ProcessTerminate", {"sleep"}).find("result")->find("value")->boolean);
  EXPECT_EQ(Text(CallJson({}, "ProcessModules", {"i:" + pid})), "");
  EXPECT_TRUE(ProcessExists(outsider));
  kill(outsider, SIGKILL);
  waitpid(outsider, nullptr, 0);
}

TEST(ProcessTable, RunningApplicationsAreListedUnderTheirApp) {
  ScriptSession notes({"--app", "\\Program Files\\Notes\\Notes.exe"});
  ASSERT_TRUE(notes.Run("ProcessCount").has_value());
  const auto count = CallJson({}, "ProcessCount", {"Notes"});
  EXPECT_EQ(Value(count), 1);
  const std::string list = Text(CallJson({}, "ProcessList", {"i:0", "i:3"}));
  EXPECT_NE(list.find("Notes.exe\t" + std::to_string(notes.pid())), std::string::npos) << list;
  // Two copies of the application: the call without a program counts both.
  ScriptSession second({"--app", "\\Program Files\\Notes\\Notes.exe"});
  const auto both = second.Run("ProcessCount");
  ASSERT_TRUE(both.has_value());
  EXPECT_EQ(Value(*both), 2);
  const auto modules = notes.Run("ProcessModules");
  ASSERT_TRUE(modules.has_value());
  EXPECT_NE(Text(*modules).find("libtq240std.so"), std::string::npos);
  notes.Finish();
  EXPECT_EQ(Value(CallJson({}, "ProcessCount", {"Notes"})), 1);
}

// A device that describes itself as a desktop system lists modules through a library the
// device lacks: the list is empty.
TEST(ProcessTable, ADesktopSystemListsNoModules) {
  const std::string description = TestDeviceRoot() + "/.device/device.json";
  std::filesystem::create_directories(TestDeviceRoot() + "/.device");
  EXPECT_NE(Text(CallJson({}, "ProcessModules", {})), "");
  std::ofstream(description) << R"({"os": {"platform": 2}})";
  EXPECT_EQ(Text(CallJson({}, "ProcessModules", {})), "");
  std::filesystem::remove(description);
}

}  // namespace

// Shared zones between processes: tq240 sessions side by side, and zone_peer acting on the
// same zone with the library's zone code (a writer, a reader, a process that never
// acknowledges, an owner killed while it holds the zone mutex); lines written and read
// through the text-file functions on a zone's index.
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

// The result as text: strings as they stand, numbers in decimal, booleans true/false.
std::string Shown(const std::optional<ce::JsonValue>& record) {
  if (!record) return "<none>";
  const ce::JsonValue& value = tqtest::Field(*record, "result", "value");
  if (value.kind == ce::JsonValue::Kind::kBoolean) return value.boolean ? "true" : "false";
  if (value.kind == ce::JsonValue::Kind::kNumber) return std::to_string(value.integer);
  return value.text;
}

int64_t ErrorField(const std::optional<ce::JsonValue>& record, const char* field) {
  return record ? tqtest::Field(*record, "error", field).integer : -99;
}

// "procedure(zone)" for every procedure call a record holds.
std::string ProcedureCalls(const ce::JsonValue& record) {
  std::string calls;
  if (const ce::JsonValue* list = record.find("procedure_calls")) {
    for (const ce::JsonValue& call : list->elements) {
      calls += call.find("procedure")->text + "(" + call.find("args")->elements[0].text + ")";
    }
  }
  return calls;
}

TEST(SharedZone, WrittenContentAndNotificationReachTheOtherProcess) {
  ScriptSession listener;
  EXPECT_EQ(Shown(listener.Run("z = SharedZoneOpen news 256 2 3 p:onNews")), "2");
  ScriptSession other;
  EXPECT_EQ(Shown(other.Run("SharedZoneExists news")), "true");
  EXPECT_EQ(Shown(other.Run("SharedZoneExists news 1")), "false");  // another scope
  EXPECT_EQ(Shown(other.Run("z = SharedZoneOpen news 256")), "2");

  EXPECT_EQ(Shell("'" + kPeer + "' write news hello"), 0);
  EXPECT_EQ(PeerOutput("read news 5"), "hello");
  // The listener acknowledged: a writer's wait completes at once.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Shown(other.Run("SharedZoneWait $z 5000")), "true");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));

  std::string calls;
  for (const ce::JsonValue& record : listener.Finish()) calls += ProcedureCalls(record);
  EXPECT_EQ(calls, "onNews(news)");
}

TEST(SharedZone, WaitTimesOutWhileAProcessHasNotAcknowledged) {
  const pid_t idle = StartPeer("idle", "slow");
  ScriptSession writer;
  EXPECT_EQ(Shown(writer.Run("z = SharedZoneOpen slow 64")), "2");
  EXPECT_EQ(Shown(writer.Run("SharedZoneWait $z 100")), "true");  // nothing written yet
  EXPECT_EQ(Shell("'" + kPeer + "' write slow x"), 0);       // idle never acknowledges
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Shown(writer.Run("SharedZoneWait $z 200")), "false");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  // A registered process that dies is no longer waited for.
  kill(idle, SIGKILL);
  waitpid(idle, nullptr, 0);
  EXPECT_EQ(Shown(writer.Run("SharedZoneWait $z")), "true");
}

TEST(SharedZone, MutexOfAKilledOwnerIsRecovered) {
  ScriptSession next;  // started first: it is not alone, so nothing is cleaned up for it
  ASSERT_TRUE(next.Run("SharedZoneExists crash").has_value());
  const pid_t holder = StartPeer("hold", "crash");
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(Shown(next.Run("SharedZoneOpen crash 64")), "2");
  EXPECT_EQ(Shown(next.Run("SharedZoneOpen crash 64")), "3");
}

TEST(SharedZone, ErrorsAndTextMark) {
  ScriptSession s;
  const auto refused = s.Run("SharedZoneOpen empty 0");
  EXPECT_EQ(Shown(refused), "-1");
  EXPECT_EQ(refused->find("error")->find("id")->integer, 81508);
  const auto marked = s.Run("SharedZoneOpen text 16 2 i:4099");
  EXPECT_EQ(Shown(marked), "2");
  EXPECT_EQ(PeerOutput("read text 2"), "\xFF\xFE");
  const auto notZone = s.Run("SharedZoneWait i:1");
  EXPECT_EQ(notZone->find("error")->find("id")->integer, 80022);
  EXPECT_EQ(Shown(s.Run("SharedZoneExists nothing")), "false");
}

TEST(SharedZoneText, LinesWrittenByOneProcessAreReadByTheNotifiedOther) {
  ScriptSession reader;  // creates the text zone (mode 0x1002): FF FE, then behind it
  std::string calls;
  const auto run = [&](const std::string& line) {
    auto record = reader.Run(line);
    if (record) calls += ProcedureCalls(*record);
    return record;
  };
  EXPECT_EQ(Shown(run("z = SharedZoneOpen lines 4096 2 i:4098 p:onLine")), "2");
  ScriptSession writer;
  EXPECT_EQ(Shown(writer.Run("w = SharedZoneOpen lines 4096 2 i:4098")), "2");
  EXPECT_EQ(Shown(writer.Run("FileWriteLine $w first")), "true");
  // The second line waits for the reader's acknowledgement of the first.
  EXPECT_EQ(Shown(writer.Run("FileWriteLine $w 'second line'")), "true");
  EXPECT_EQ(Shown(writer.Run("SharedZoneWait $w 5000")), "true");
  EXPECT_EQ(PeerOutput("read lines 14"), std::string("\xFF\xFE" "f\0i\0r\0s\0t\0\r\0", 14));
  EXPECT_EQ(Shown(run("FileReadLine $z")), "first");
  EXPECT_EQ(Shown(run("FileReadLine $z")), "second line");
  EXPECT_EQ(Shown(run("FileReadLine $z")), "\x04");  // nothing more written yet
  EXPECT_EQ(Shown(writer.Run("FileWriteLine $w third")), "true");
  EXPECT_EQ(Shown(writer.Run("SharedZoneWait $w 5000")), "true");
  EXPECT_EQ(Shown(run("FileReadLine $z")), "third");  // the reader stayed at the end of the text
  EXPECT_EQ(Shown(run("FileSeek $z l:0 i:1")), "56");  // 2 + 2 * (5 + 2 + 11 + 2 + 5 + 2)
  EXPECT_EQ(Shown(run("FileClose $z")), "0");
  for (const ce::JsonValue& record : reader.Finish()) calls += ProcedureCalls(record);
  EXPECT_EQ(calls, "onLine(lines)onLine(lines)onLine(lines)");
}

TEST(SharedZoneText, FileFunctionsOnZoneIndexes) {
  // Zones are whole pages: "edge" holds 4096 bytes. The long lines cross the pieces in which
  // a zone's text is read.
  const std::string shortLong(255, 'x'), longer(1000, 'y');
  const struct {
    std::string line;
    std::string result;
    int64_t error;   // error id
    int64_t system;  // system code of a stream failure
  } steps[] = {
      {"t = SharedZoneOpen edge 100 2 i:4098", "2", 0, 0},
      {"FileSeek $t l:0 i:1", "2", 0, 0},  // behind the text mark
      {"FileWriteLine $t first", "true", 0, 0},
      {"FileSeek $t l:-14 i:2", "4082", 0, 0},
      {"FileWriteLine $t abc", "true", 0, 0},
      {"FileWriteLine $t yz", "false", 0, 38},  // cut: "yz" without its line end
      {"FileSeek $t l:0 i:1", "4096", 0, 0},
      {"FileWriteLine $t x", "false", 0, 38},  // at the end: nothing written
      {"FileSeek $t l:-14 i:2", "4082", 0, 0},
      {"FileReadLine $t", "abc", 0, 0},
      {"FileReadLine $t", "yz", 0, 0},  // the last line ends with the zone
      {"FileReadLine $t", "\x04", 0, 0},
      {"FileSeek $t l:1 i:1", "-1", 0, 38},
      {"r = SharedZoneOpen edge 100 2 i:4096", "3", 0, 0},  // read-only, behind the mark
      {"FileReadLine $r", "first", 0, 0},
      {"FileReadLine $r", "\x04", 0, 0},
      {"FileWriteLine $r x", "false", 0, 5},
      {"FileSeek $r l:-1 i:0", "-1", 0, 131},
      {"FileSeek $r l:0 i:3", "-1", 80023, 0},
      {"FileClose $r", "0", 0, 0},
      {"FileReadLine $r", "", 80022, 0},
      {"a = SharedZoneOpen ansi 64 2 i:8194", "3", 0, 0},  // 8-bit text
      {"FileWriteLine $a caf\xc3\xa9", "true", 0, 0},
      {"h = FileCreate '\\zone.txt'", "4", 0, 0},
      {"SharedZoneWait $h", "false", 81509, 0},
      {"g = SharedZoneOpen long 8192 2 i:4098", "5", 0, 0},
      {"FileWriteLine $g " + shortLong, "true", 0, 0},
      {"FileWriteLine $g " + longer, "true", 0, 0},
      {"FileSeek $g l:2 i:0", "2", 0, 0},
      {"FileReadLine $g", shortLong, 0, 0},
      {"FileReadLine $g", longer, 0, 0},
      {"FileReadLine $g", "\x04", 0, 0},
      {"FileClose $t", "0", 0, 0},
      {"SharedZoneWait $t", "false", 80022, 0},
  };
  ScriptSession s;
  for (const auto& step : steps) {
    const auto record = s.Run(step.line);
    EXPECT_EQ(Shown(record), step.result) << step.line;
    EXPECT_EQ(ErrorField(record, "id"), step.error) << step.line;
    EXPECT_EQ(ErrorField(record, "system_code"), step.system) << step.line;
  }
  EXPECT_EQ(PeerOutput("read ansi 6"), std::string("caf\xe9\r\n"));
}

TEST(SharedZoneText, ALineIsReadOnceItsEndIsWritten) {
  ScriptSession s;
  EXPECT_EQ(Shown(s.Run("p = SharedZoneOpen part 64 2 i:8194")), "2");  // 8-bit text
  EXPECT_EQ(Shell("'" + kPeer + "' write part abc"), 0);
  EXPECT_EQ(Shown(s.Run("FileReadLine $p")), "\x04");  // no CR LF yet: left in place
  EXPECT_EQ(Shell("'" + kPeer + "' write part \"$(printf 'abc\\r\\nde')\""), 0);
  EXPECT_EQ(Shown(s.Run("FileReadLine $p")), "abc");
  EXPECT_EQ(Shown(s.Run("FileReadLine $p")), "\x04");
  EXPECT_EQ(Shown(s.Run("FileSeek $p l:0 i:1")), "5");  // at "de", which waits for its end
}

}  // namespace

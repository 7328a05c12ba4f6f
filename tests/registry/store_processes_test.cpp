// The registry shared by tq240 processes on one device root: writes seen at once by a process
// that stays open, two writers at the same time, a writer killed in the middle of its series,
// and a damaged file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

#include "tests/registry/cli_support.h"

namespace {

using namespace regtest;

// A tq240 process whose standard input stays open until Finish.
class Running {
 public:
  explicit Running(const std::vector<std::string>& args) {
    int in[2], out[2];
    // Close-on-exec: another child must not keep this one's input open.
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
      setenv("TQ_DEVICE", tqtest::TestDeviceRoot().c_str(), 1);
      const char* program = std::getenv("TQ240");
      std::vector<char*> argv = {const_cast<char*>(program)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(program, argv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    input_ = in[1];
    output_ = out[0];
    // The output is drained all along, so that the process never waits on a full pipe.
    reader_ = std::thread([this] {
      char buffer[4096];
      for (ssize_t n; (n = read(output_, buffer, sizeof buffer)) > 0;)
        output_text_.append(buffer, n);
    });
  }
  ~Running() {
    if (pid_ > 0) Finish();
  }
  void Send(const std::string& text) {
    ASSERT_EQ(write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void Kill() { kill(pid_, SIGKILL); }
  // Closes the input and collects the output until the process ends.
  std::string Finish() {
    if (input_ >= 0) close(input_);
    input_ = -1;
    if (reader_.joinable()) reader_.join();
    close(output_);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return output_text_;
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1, output_ = -1;
  std::thread reader_;
  std::string output_text_;
};

int StoredCount() {
  sqlite3* db = nullptr;
  int count = 0;
  if (sqlite3_open_v2(StoreFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM vals", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
      count = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
  return count;
}

bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 3000; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

std::vector<JsonValue> Records(const std::string& out) {
  std::vector<JsonValue> records;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);)
    if (std::optional<JsonValue> v = tqhost::ParseJson(line)) records.push_back(*v);
  return records;
}

std::string Writes(const std::string& prefix, int count) {
  std::string script;
  for (int i = 0; i < count; ++i)
    script += "RegistrySetValue 'HKEY_LOCAL_MACHINE\\Load' " + prefix + std::to_string(i) +
              " i:" + std::to_string(i) + "\n";
  return script;
}

TEST(StoreProcesses, AnOpenProcessSeesAnotherWriteAtOnce) {
  ASSERT_EQ(Call({"RegistryCreateKey", "HKEY_LOCAL_MACHINE\\Shared"}), "true");
  Running first({"script", "-"});
  first.Send("RegistrySetValue 'HKEY_LOCAL_MACHINE\\Shared' a i:1\n");
  ASSERT_TRUE(WaitFor([] { return StoredCount() == 1; }));
  EXPECT_EQ(Call({"RegistryQueryValue", "HKEY_LOCAL_MACHINE\\Shared", "a"}), "1");
  EXPECT_EQ(Call({"RegistrySetValue", "HKEY_LOCAL_MACHINE\\Shared", "b", "i:2"}), "true");
  first.Send("RegistryQueryValue 'HKEY_LOCAL_MACHINE\\Shared' b\n");
  const std::vector<JsonValue> r = Records(first.Finish());
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(Field(r[1], "result", "value").number, 2);
}

TEST(StoreProcesses, AKeyReplacedByAnotherProcessIsFoundAgain) {
  const std::string key = "HKEY_LOCAL_MACHINE\\Replaced";
  ASSERT_EQ(Call({"RegistrySetValue", "HKEY_LOCAL_MACHINE", "marker", "i:0"}), "true");
  ASSERT_EQ(Call({"RegistryCreateKey", key}), "true");
  ASSERT_EQ(Call({"RegistrySetValue", key, "v", "i:1"}), "true");
  Running reader({"script", "-"});
  reader.Send("RegistryQueryValue '" + key +
              "' v\n"
              "RegistrySetValue HKEY_LOCAL_MACHINE marker i:1\n");
  ASSERT_TRUE(WaitFor([] { return StoredValue("marker") == "4:01000000"; }));
  // The key goes away and comes back as a new key while the reader keeps its connection.
  ASSERT_EQ(Call({"RegistryDeleteKey", key}), "true");
  ASSERT_EQ(Call({"RegistryCreateKey", key}), "true");
  ASSERT_EQ(Call({"RegistrySetValue", key, "v", "i:2"}), "true");
  reader.Send("RegistryQueryValue '" + key + "' v\n");
  const std::vector<JsonValue> r = Records(reader.Finish());
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(Field(r[0], "result", "value").number, 1);
  EXPECT_EQ(Field(r[2], "result", "value").number, 2);
}

TEST(StoreProcesses, TwoWritersLoseNothing) {
  ASSERT_EQ(Call({"RegistryCreateKey", "HKEY_LOCAL_MACHINE\\Load"}), "true");
  Running a({"script", "-"}), b({"script", "-"});
  a.Send(Writes("a", 300));
  b.Send(Writes("b", 300));
  for (Running* w : {&a, &b}) {
    const std::vector<JsonValue> records = Records(w->Finish());
    ASSERT_EQ(records.size(), 300u);
    for (const JsonValue& r : records) {
      EXPECT_EQ(Field(r, "error", "level").number, 1);
      EXPECT_TRUE(Field(r, "result", "value").boolean);
    }
  }
  EXPECT_EQ(StoredCount(), 600);
  EXPECT_EQ(Call({"RegistryQueryValue", "HKEY_LOCAL_MACHINE\\Load", "b299"}), "299");
}

TEST(StoreProcesses, AKilledWriterKeepsWhatItReported) {
  ASSERT_EQ(Call({"RegistryCreateKey", "HKEY_LOCAL_MACHINE\\Load"}), "true");
  const std::string script = tqtest::TestDeviceRoot() + "/../killed-" + std::to_string(getpid());
  std::ofstream(script) << Writes("k", 3000);
  Running writer({"script", script});
  ASSERT_TRUE(WaitFor([] { return StoredCount() >= 200; }));
  writer.Kill();
  const std::vector<JsonValue> reported = Records(writer.Finish());
  EXPECT_GT(reported.size(), 0u);
  // The store opens, passes SQLite's own check, and holds every reported value.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(StoreFile().c_str(), &db), SQLITE_OK);
  sqlite3_stmt* s = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)), "ok");
  sqlite3_finalize(s);
  std::set<std::string> names;
  sqlite3_prepare_v2(db, "SELECT name FROM vals", -1, &s, nullptr);
  while (sqlite3_step(s) == SQLITE_ROW)
    names.insert(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
  sqlite3_finalize(s);
  sqlite3_close(db);
  for (const JsonValue& r : reported) {
    const int line = static_cast<int>(Field(r, "line").number);
    EXPECT_TRUE(names.count("k" + std::to_string(line - 1))) << line;
  }
  EXPECT_EQ(Call({"RegistrySetValue", "HKEY_LOCAL_MACHINE\\Load", "after", "i:1"}), "true");
}

TEST(StoreProcesses, ADamagedFileIsNamed) {
  ASSERT_EQ(Call({"RegistryCreateKey", "HKEY_LOCAL_MACHINE\\X"}), "true");
  for (const char* suffix : {"-wal", "-shm"}) std::remove((StoreFile() + suffix).c_str());
  std::ofstream(StoreFile(), std::ios::binary | std::ios::trunc) << std::string(8192, '\x5a');
  const tqtest::Tq240Result r = RunCall({"RegistrySetValue", "HKEY_LOCAL_MACHINE\\X", "v", "x"});
  EXPECT_EQ(r.out, "false");
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_NE(r.err.find(StoreFile()), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("(1009)"), std::string::npos) << r.err;
  EXPECT_EQ(Call({"RegistryQueryValue", "HKEY_LOCAL_MACHINE\\X", "v"}), "");
}

}  // namespace

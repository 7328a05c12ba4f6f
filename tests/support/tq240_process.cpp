// Process plumbing for tests that go through tq240: fork/exec with pipes, output collected in
// full, the child's environment given a private device root.
#include "tests/support/tq240_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include <sstream>

namespace tqtest {
namespace {

std::string Tq240Path() {
  const char* path = std::getenv("TQ240");
  return path ? path : "tq240";
}

}  // namespace

std::string TestDeviceRoot() {
  // A new folder for every test process, removed when it exits: a root named after the pid
  // alone would be met again by a later process given the same pid, with what the first one
  // left there (a damaged registry on purpose, a process table, named objects of its hash).
  // The path is never destroyed, so that the exit handler can still read it.
  static const std::string* root = [] {
    const char* base = std::getenv("TQ_TEST_TMP");
    const std::filesystem::path parent(base ? base : "/tmp");
    std::filesystem::create_directories(parent);
    std::string pattern = (parent / ("device-" + std::to_string(getpid()) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    auto* path = new std::string(pattern);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(TestDeviceRoot(), ignored);
    });
    return path;
  }();
  return *root;
}

Tq240Result RunTq240(const std::vector<std::string>& args, const std::string& input) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};
  const std::string program = Tq240Path();
  const std::string device = TestDeviceRoot();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    setenv("TQ_DEVICE", device.c_str(), 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  // Write the input and read both outputs without deadlocking on full pipes.
  size_t written = 0;
  if (input.empty()) close(in[1]);
  Tq240Result result;
  bool outOpen = true, errOpen = true, inOpen = !input.empty();
  while (outOpen || errOpen) {
    pollfd fds[3];
    int n = 0;
    if (outOpen) fds[n++] = {out[0], POLLIN, 0};
    if (errOpen) fds[n++] = {err[0], POLLIN, 0};
    if (inOpen) fds[n++] = {in[1], POLLOUT, 0};
    if (poll(fds, static_cast<nfds_t>(n), 60000) <= 0) break;
    for (int i = 0; i < n; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == in[1]) {
        const ssize_t w = write(in[1], input.data() + written, input.size() - written);
        if (w > 0) written += static_cast<size_t>(w);
        if (w <= 0 || written == input.size()) {
          close(in[1]);
          inOpen = false;
        }
        continue;
      }
      char buffer[4096];
      const ssize_t r = read(fds[i].fd, buffer, sizeof buffer);
      if (r <= 0) {
        (fds[i].fd == out[0] ? outOpen : errOpen) = false;
        continue;
      }
      (fds[i].fd == out[0] ? result.out : result.err).append(buffer, static_cast<size_t>(r));
    }
  }
  if (inOpen) close(in[1]);
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

tqhost::JsonValue CallJson(const std::vector<std::string>& options, const std::string& function,
                           const std::vector<std::string>& args) {
  std::vector<std::string> all = options;
  all.push_back("--json");
  all.push_back("call");
  all.push_back(function);
  all.insert(all.end(), args.begin(), args.end());
  const Tq240Result r = RunTq240(all);
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  tqhost::JsonError error;
  std::optional<tqhost::JsonValue> parsed = tqhost::ParseJson(r.out, &error);
  EXPECT_TRUE(parsed.has_value()) << "not JSON: " << r.out << " (" << error.message << ")";
  return parsed ? *parsed : tqhost::JsonValue{};
}

std::string CallPlain(const std::vector<std::string>& words) {
  std::vector<std::string> all = {"call"};
  all.insert(all.end(), words.begin(), words.end());
  const Tq240Result r = RunTq240(all);
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_TRUE(!r.out.empty() && r.out.back() == '\n') << r.out;
  return r.out.empty() ? r.out : r.out.substr(0, r.out.size() - 1);
}

std::vector<tqhost::JsonValue> JsonRecords(const std::string& out) {
  std::vector<tqhost::JsonValue> records;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::optional<tqhost::JsonValue> v = tqhost::ParseJson(line);
    EXPECT_TRUE(v.has_value()) << line;
    if (v) records.push_back(std::move(*v));
  }
  return records;
}

std::vector<tqhost::JsonValue> ScriptRecords(const std::string& script,
                                             const std::vector<std::string>& options) {
  std::vector<std::string> args = options;
  args.insert(args.end(), {"script", "-"});
  const Tq240Result r = RunTq240(args, script);
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  return JsonRecords(r.out);
}

const tqhost::JsonValue& Field(const tqhost::JsonValue& object, const char* first,
                               const char* second) {
  static const tqhost::JsonValue none;
  const tqhost::JsonValue* v = object.find(first);
  if (v != nullptr && second != nullptr) v = v->find(second);
  return v != nullptr ? *v : none;
}

}  // namespace tqtest

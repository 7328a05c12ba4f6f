// The interactive tq240 session and small process helpers of the process tests.
#include "tests/processes/script_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/tq240_process.h"

namespace tqtest {

ScriptSession::ScriptSession(const std::vector<std::string>& options) {
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
  const char* tq240 = std::getenv("TQ240");
  const std::string program = tq240 != nullptr ? tq240 : "tq240";
  const std::string device = TestDeviceRoot();
  pid_ = fork();
  if (pid_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    setenv("TQ_DEVICE", device.c_str(), 1);
    std::vector<std::string> words{program};
    words.insert(words.end(), options.begin(), options.end());
    words.push_back("script");
    words.push_back("-");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  input_ = in[1];
  output_ = out[0];
}

ScriptSession::~ScriptSession() {
  Finish();
}

std::optional<std::string> ScriptSession::ReadLine(int milliseconds) {
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    pollfd entry{output_, POLLIN, 0};
    if (output_ < 0 || poll(&entry, 1, milliseconds) <= 0) return std::nullopt;
    char buffer[4096];
    const ssize_t r = read(output_, buffer, sizeof buffer);
    if (r <= 0) return std::nullopt;
    pending_.append(buffer, static_cast<size_t>(r));
  }
}

std::optional<ce::JsonValue> ScriptSession::Run(const std::string& line) {
  const std::string text = line + "\n";
  if (input_ < 0 || write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    return std::nullopt;
  }
  const std::optional<std::string> record = ReadLine(20000);
  if (!record) return std::nullopt;
  return ce::ParseJson(*record);
}

std::vector<ce::JsonValue> ScriptSession::Finish() {
  std::vector<ce::JsonValue> records;
  if (pid_ <= 0) return records;
  close(input_);
  input_ = -1;
  while (const std::optional<std::string> line = ReadLine(20000)) {
    if (std::optional<ce::JsonValue> record = ce::ParseJson(*line)) records.push_back(*record);
  }
  close(output_);
  output_ = -1;
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return records;
}

int Shell(const std::string& command) {
  const std::string full = "cd '" + TestDeviceRoot() + "' && TQ_DEVICE='" + TestDeviceRoot() +
                           "' " + command;
  const int status = std::system(full.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteProgram(const std::string& relativePath, const std::string& content) {
  const std::filesystem::path path = std::filesystem::path(TestDeviceRoot()) / relativePath;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << content;
  chmod(path.c_str(), 0755);
}

std::string ReadDeviceFile(const std::string& relativePath) {
  std::ifstream in(TestDeviceRoot() + "/" + relativePath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool ProcessExists(pid_t pid) {
  return kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace tqtest

// A tq240 script session kept open while a test works beside it: lines are sent one at a
// time and each record is read as soon as tq240 writes it, so other processes can act between
// two lines (a zone written, a process killed).
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/json.h"

namespace tqtest {

class ScriptSession {
 public:
  // Starts `tq240 OPTIONS... script -` on the test's device root.
  explicit ScriptSession(const std::vector<std::string>& options = {});
  ~ScriptSession();
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  // Sends one line and returns its record (nullopt after 20 s or when tq240 ended).
  std::optional<ce::JsonValue> Run(const std::string& line);
  // Closes standard input and returns the records written until tq240 ended.
  std::vector<ce::JsonValue> Finish();
  pid_t pid() const { return pid_; }

 private:
  std::optional<std::string> ReadLine(int milliseconds);
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string pending_;
};

// Runs a command line through /bin/sh on the test's device root; its exit status.
int Shell(const std::string& command);
// Writes an executable file (a "#!" script) into the device root.
void WriteProgram(const std::string& relativePath, const std::string& content);
// The content of a file of the device root.
std::string ReadDeviceFile(const std::string& relativePath);
// Whether `kill -0` reaches the pid.
bool ProcessExists(pid_t pid);

}  // namespace tqtest

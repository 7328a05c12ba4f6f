// Running the VM stand-in from tests: tq240 is started as a separate process with a fresh
// device root, the way an application would see the library, and its output is collected.
#pragma once

#include <string>
#include <vector>

#include "host/json.h"

namespace tqtest {

struct Tq240Result {
  int exitStatus = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs `tq240 ARGS...` with `input` on standard input. The device root is a directory private
// to the test (TQ_DEVICE), unless ARGS set --device themselves.
Tq240Result RunTq240(const std::vector<std::string>& args, const std::string& input = "");

// Runs `tq240 --json [OPTIONS...] call FUNCTION ARGS...` and parses the record; fails the
// current test when the output is not one JSON object.
tqhost::JsonValue CallJson(const std::vector<std::string>& options, const std::string& function,
                           const std::vector<std::string>& args);

// The device root the helpers use for this test process.
std::string TestDeviceRoot();

}  // namespace tqtest

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

// Runs `tq240 call WORDS...` for a function with a result and gives the line it prints without
// its line end; fails the current test unless tq240 exits with 0 and ends its output with one.
std::string CallPlain(const std::vector<std::string>& words);

// The JSON records of an output, one a line; a line that is not JSON fails the current test.
std::vector<tqhost::JsonValue> JsonRecords(const std::string& out);

// Runs `tq240 [OPTIONS...] script -` on `script` and gives its records; fails the current test
// when tq240 does not exit with 0.
std::vector<tqhost::JsonValue> ScriptRecords(const std::string& script,
                                             const std::vector<std::string>& options = {});

// The member `first` of `object`, then its member `second` when given; a null value when one
// is absent.
const tqhost::JsonValue& Field(const tqhost::JsonValue& object, const char* first,
                               const char* second = nullptr);

// The device root the helpers use for this test process.
std::string TestDeviceRoot();

}  // namespace tqtest

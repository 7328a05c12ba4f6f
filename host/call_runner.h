// One call of a standard function as tq240 makes it: the function found by id or name, the
// overload chosen from the arguments, the argument array built, the entry called through the
// library session, and everything the VM can observe afterwards collected in a CallRecord.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/arguments.h"
#include "host/function_catalog.h"
#include "host/library_session.h"
#include "host/vm_objects.h"

namespace tqhost {

struct CallRecord {
  int line = 0;  // script mode only
  uint32_t function = 0;
  std::string name;  // empty when no family names the function
  int overload = 0;  // index in the function's overload list, from 0
  std::optional<HostValue> result;  // what the entry handed to SetResult
  int setResultCount = 0;
  ErrorReport error;
  std::optional<std::pair<int32_t, int32_t>> passback;  // status, routine
  std::vector<std::pair<std::string, HostValue>> variables;
  std::vector<ProcedureCall> procedureCalls;  // calls to p:NAME procedures, in order
  bool passedProcedure = false;  // a p:NAME argument was passed: the record lists the calls
};

class CallRunner {
 public:
  explicit CallRunner(LibrarySession& library) : library_(library) {}

  // Runs FUNCTION with the argument words. On a usage problem (unknown function, bad argument,
  // no matching overload, no implementation) returns nullopt with the reason in `usageError`.
  std::optional<CallRecord> Run(const std::string& function, const std::vector<std::string>& words,
                                std::string* usageError);

  KeptValues& kept() { return kept_; }

 private:
  LibrarySession& library_;
  KeptValues kept_;
  uint32_t sequence_ = 0;
};

// The record as one line of JSON (with "line" in script mode).
std::string RecordJson(const CallRecord& record, bool withLine);
// The closing record of a script: procedure calls that arrived after the last line's call.
std::string ClosingRecordJson(const std::vector<ProcedureCall>& calls);

}  // namespace tqhost

// The library as the VM sees it: loaded with dlopen from beside the tq240 executable, started
// with the VM's protocol (initialisation, conversion binding, descriptor queries, execution
// start, one ComponentProxy), called through its implementation entries, and stopped cleanly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/call_context.h"
#include "frame/component_proxy.h"
#include "frame/error_state.h"
#include "frame/function_table.h"

namespace tqhost {

struct LibraryExports {
  int32_t (*checkVersion)();
  int32_t (*initLibrary)(intptr_t host);
  void (*termLibrary)();
  int32_t (*initConversion)(void* vmModule, int32_t from, int32_t to, intptr_t reserved);
  intptr_t (*information)(int32_t query, int32_t index);
  intptr_t (*command)(int32_t command, intptr_t argument);
  void* (*queryProxy)(int32_t id);
  void (*declareProxy)(int32_t*, int16_t*, int32_t*, int16_t*);
  int32_t (*execution)(int32_t event, intptr_t* arguments, int32_t count);
};

// The error state as the VM reads it after a call.
struct ErrorReport {
  uint32_t level = 1;
  uint32_t id = 0;
  std::u16string message;
  uint32_t systemCode = 0;
  std::u16string systemMessage;
  std::u16string diagnostics;
};

class LibrarySession {
 public:
  // Loads and starts the library; on failure `error()` says why.
  bool Open(const std::string& libraryPath);
  // Stops the execution, releases the proxy and terminates the library.
  void Close();
  ~LibrarySession() { Close(); }

  const std::string& error() const { return error_; }
  const LibraryExports& exports() const { return exports_; }
  void* handle() const { return handle_; }

  // The descriptor's function records as the VM reads them.
  const tq::FunctionRecord* FindRecord(uint32_t id) const;
  const tq::FunctionRecord* records() const { return records_; }
  size_t recordCount() const { return recordCount_; }
  // The overloads a record uses (its own, or those of the record it shares).
  const tq::OverloadEntry* OverloadsOf(const tq::FunctionRecord& record) const;

  // Calls one implementation entry the way the VM does: proxy made current, error state
  // cleared, entry called with the argument array.
  int32_t Call(tq::ImplementationEntry entry, tq::CallContext& context, void** args);
  ErrorReport ReadErrorState() const;

 private:
  void* handle_ = nullptr;
  void* vmModule_ = nullptr;
  LibraryExports exports_{};
  tq::ComponentProxy* proxy_ = nullptr;
  const tq::FunctionRecord* records_ = nullptr;
  size_t recordCount_ = 0;
  bool started_ = false;
  std::string error_;
};

// The directory of the running executable (where the library is looked for first).
std::string ExecutableDirectory();

}  // namespace tqhost

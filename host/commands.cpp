// call, script, functions and info.
#include "host/commands.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "host/call_runner.h"
#include "host/function_catalog.h"
#include "host/json.h"
#include "host/script.h"
#include "host/test_probe.h"

namespace tqhost {
namespace {

// One line on standard output, flushed at once: a reader sees each record as soon as its call
// has returned.
void PrintLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// The error line of a plain call, and whether there was one.
bool ReportError(const CallRecord& record) {
  if (record.error.level == 1) return false;
  std::fprintf(stderr, "error %u: %s\n", record.error.id, ToUtf8(record.error.message).c_str());
  return true;
}

bool IsAddressQuery(int query) {
  switch (query) {
    case 4: case 13: case 15: case 17: case 19: case 21: case 27: case 28: case 33:
      return true;
    default:
      return false;
  }
}

}  // namespace

int RunCall(LibrarySession& library, const Options& options) {
  if (options.rest.empty()) {
    std::fprintf(stderr, "tq240: call needs a function\n");
    return 2;
  }
  CallRunner runner(library);
  std::string error;
  std::vector<std::string> words(options.rest.begin() + 1, options.rest.end());
  std::optional<CallRecord> record = runner.Run(options.rest[0], words, &error);
  if (!record) {
    std::fprintf(stderr, "tq240: %s\n", error.c_str());
    return 2;
  }
  if (options.json) {
    PrintLine(RecordJson(*record, false));
    return 0;
  }
  if (record->result && record->result->kind != ValueKind::kNone)
    PrintLine(RenderPlain(*record->result));
  return ReportError(*record) ? 1 : 0;
}

int RunScript(LibrarySession& library, const Options& options) {
  const std::string path = options.rest.empty() ? "-" : options.rest[0];
  std::ifstream file;
  std::istream* in = &std::cin;
  if (path != "-") {
    file.open(path, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "tq240: cannot read the script %s\n", path.c_str());
      return 2;
    }
    in = &file;
  }
  CallRunner runner(library);
  int status = 0;
  std::string line;
  for (int number = 1; std::getline(*in, line); ++number) {
    std::string error;
    std::optional<ScriptLine> parsed = ParseScriptLine(line, &error);
    if (!parsed) {
      if (!error.empty()) {
        std::fprintf(stderr, "tq240: line %d: %s\n", number, error.c_str());
        status = 2;
      }
      continue;
    }
    std::optional<CallRecord> record = runner.Run(parsed->function, parsed->arguments, &error);
    if (!record) {
      std::fprintf(stderr, "tq240: line %d: %s\n", number, error.c_str());
      status = 2;
      continue;
    }
    record->line = number;
    if (!parsed->keepAs.empty() && record->result) runner.kept()[parsed->keepAs] = *record->result;
    PrintLine(RecordJson(*record, true));
  }
  // Procedure calls from the library's background threads that came after the last line.
  StopProbe();
  library.Close();
  std::vector<ProcedureCall> late = TakeProcedureCalls();
  if (!late.empty()) PrintLine(ClosingRecordJson(late));
  return status;
}

int ListFunctions(LibrarySession& library, const Options& options) {
  std::string out = options.json ? "[" : "";
  for (size_t i = 0; i < kHostFunctionCount; ++i) {
    const HostFunction& f = kHostFunctions[i];
    const HostFunction& owner = OverloadOwner(f);
    const tq::FunctionRecord* record = library.FindRecord(f.id);
    const tq::OverloadEntry* entries = record ? library.OverloadsOf(*record) : nullptr;
    if (options.json) {
      if (i) out += ",\n ";
      out += "{\"id\": " + std::to_string(f.id) + ", \"name\": " +
             (f.name ? JsonString(f.name) : std::string("null")) +
             ", \"uses\": " + std::to_string(owner.id) + ", \"overloads\": [";
    } else {
      out += std::to_string(f.id) + " " + (f.name ? f.name : "-");
      if (&owner != &f) out += " (uses " + std::to_string(owner.id) + ")";
      out += "\n";
    }
    for (int k = 0; k < owner.overloadCount; ++k) {
      const HostOverload& o = owner.overloads[k];
      const bool implemented = entries != nullptr && entries[k].entry != nullptr;
      std::string params;
      for (int p = 0; p < o.paramCount; ++p) params += (p ? ", " : "") + std::to_string(o.params[p]);
      if (options.json) {
        if (k) out += ", ";
        out += "{\"result\": " + std::to_string(o.result) + ", \"params\": [" + params +
               "], \"flags\": " + std::to_string(o.flags) +
               ", \"implemented\": " + (implemented ? "true" : "false") + "}";
      } else {
        out += "  " + std::to_string(o.result) + " (" + params + ")";
        if (o.flags & 128) out += " +";
        if (o.flags & 256) out += " *";
        out += implemented ? "  implemented\n" : "  -\n";
      }
    }
    if (options.json) out += "]}";
  }
  if (options.json) out += "]";
  PrintLine(options.json ? out : out.substr(0, out.empty() ? 0 : out.size() - 1));
  return 0;
}

int ShowInformation(LibrarySession& library, const Options& options) {
  std::string out = options.json ? "{\"queries\": {" : "";
  for (int query = 0; query <= 33; ++query) {
    const intptr_t answer = library.exports().information(query, 0);
    std::string shown = IsAddressQuery(query) && answer != 0
                            ? (options.json ? "\"address\"" : "address")
                            : std::to_string(answer);
    if (options.json)
      out += (query ? ", " : "") + std::string("\"") + std::to_string(query) + "\": " + shown;
    else
      out += "query " + std::to_string(query) + ": " + shown + (query < 33 ? "\n" : "");
  }
  if (options.json) out += "}}";
  PrintLine(out);
  return 0;
}

}  // namespace tqhost

// tq240 demo: a guided tour of what the library does, one family after another. Each step
// shows the call as it would be typed and what the VM got back.
#include <cstdio>
#include <string>
#include <vector>

#include "host/call_runner.h"
#include "host/commands.h"
#include "host/function_catalog.h"

namespace tqhost {
namespace {

struct Step {
  const char* note;
  std::vector<std::string> words;  // function, then arguments
};

struct Section {
  const char* title;
  std::vector<Step> steps;
};

const std::vector<Section>& Tour() {
  static const std::vector<Section> tour = {
      {"Value utilities: parity, random numbers, list extremes",
       {
           {"parity of a negative number", {"IsEven", "-4"}},
           {"zero is not odd", {"IsOdd", "0"}},
           {"a random integer from 1 to n: with n = 1 always 1", {"Random", "i:1"}},
           {"a random integer between two bounds", {"Random", "10", "20"}},
           {"the greatest of three texts", {"ListMax", "b", "a", "c"}},
           {"texts compare as texts: '2' is greater than '10'", {"ListMax", "2", "10"}},
           {"numbers compare as numbers", {"ListMax", "r:2", "r:10"}},
           {"the smallest element of an array", {"ListMin", "j:[3, 1.5, 2]"}},
       }},
      {"Errors: a failing function records a numbered error and returns its default result",
       {
           {"Random with n < 1", {"Random", "i:0"}},
           {"Random with low > high", {"Random", "5", "1"}},
       }},
      {"Pass-back: string functions the VM runs itself",
       {
           {"the entry hands the call back with status 42 and routine 5", {"124", "abc", "b"}},
       }},
  };
  return tour;
}

std::string Shown(const std::vector<std::string>& words) {
  std::string out = "tq240 call";
  for (const std::string& w : words) out += " " + (w.find(' ') != std::string::npos ? "'" + w + "'" : w);
  return out;
}

}  // namespace

int RunDemo(LibrarySession& library, const Options&) {
  size_t implemented = 0, overloads = 0;
  for (size_t i = 0; i < kHostFunctionCount; ++i) {
    const HostFunction& f = kHostFunctions[i];
    const HostFunction& owner = OverloadOwner(f);
    const tq::FunctionRecord* record = library.FindRecord(f.id);
    const tq::OverloadEntry* entries = record ? library.OverloadsOf(*record) : nullptr;
    for (int k = 0; k < owner.overloadCount; ++k) {
      ++overloads;
      if (entries && entries[k].entry) ++implemented;
    }
  }
  std::printf("tq240std, version 24: %zu function records, %zu overloads, %zu implemented so far.\n",
              kHostFunctionCount, overloads, implemented);
  CallRunner runner(library);
  for (const Section& section : Tour()) {
    std::printf("\n== %s\n", section.title);
    for (const Step& step : section.steps) {
      std::printf("\n# %s\n$ %s\n", step.note, Shown(step.words).c_str());
      std::string error;
      std::vector<std::string> args(step.words.begin() + 1, step.words.end());
      std::optional<CallRecord> record = runner.Run(step.words[0], args, &error);
      if (!record) {
        std::printf("(not available: %s)\n", error.c_str());
        continue;
      }
      if (record->result && record->result->kind != ValueKind::kNone)
        std::printf("%s\n", RenderPlain(*record->result).c_str());
      if (record->passback)
        std::printf("passed back to the VM: status %d, routine %d\n", record->passback->first,
                    record->passback->second);
      else if (record->error.level != 1)
        std::printf("error %u (level %u): %s\n", record->error.id, record->error.level,
                    ToUtf8(record->error.message).c_str());
    }
  }
  return 0;
}

}  // namespace tqhost

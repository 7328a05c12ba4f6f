// Printing of the guided tour's steps.
#include "host/demo_step.h"

#include <cstdio>

#include "host/host_value.h"

namespace tqhost {

std::string TypedCall(const std::vector<std::string>& words) {
  std::string out = "tq240 call";
  for (const std::string& w : words) {
    const bool quoted = w.empty() || w.find_first_of(" &()?#*;|<>$'\"") != std::string::npos;
    out += " " + (quoted ? "'" + w + "'" : w);
  }
  return out;
}

std::optional<CallRecord> RunDemoStep(CallRunner& runner, const char* note,
                                      const std::vector<std::string>& words) {
  std::string problem;
  const std::vector<std::string> args(words.begin() + 1, words.end());
  if (note == nullptr) return runner.Run(words[0], args, &problem);
  std::printf("\n# %s\n$ %s\n", note, TypedCall(words).c_str());
  std::optional<CallRecord> record = runner.Run(words[0], args, &problem);
  if (!record) {
    std::printf("(not available: %s)\n", problem.c_str());
    return record;
  }
  if (record->result && record->result->kind != ValueKind::kNone)
    std::printf("%s\n", RenderPlain(*record->result).c_str());
  for (const auto& [name, value] : record->variables)
    std::printf("%s = %s\n", name.c_str(), RenderPlain(value).c_str());
  const ErrorReport& error = record->error;
  if (record->passback) {
    std::printf("passed back to the VM: status %d, routine %d\n", record->passback->first,
                record->passback->second);
  } else if (error.level != 1) {
    const std::u16string& message = error.message.empty() ? error.systemMessage : error.message;
    if (error.systemCode != 0)
      std::printf("error %u (level %u, system code %u): %s\n", error.id, error.level,
                  error.systemCode, ToUtf8(message).c_str());
    else
      std::printf("error %u (level %u): %s\n", error.id, error.level, ToUtf8(message).c_str());
  } else if (!error.diagnostics.empty()) {
    std::printf("trace: %s\n", ToUtf8(error.diagnostics).c_str());
  }
  return record;
}

void RunDemoSteps(CallRunner& runner, const std::vector<DemoStep>& steps) {
  for (const DemoStep& step : steps) RunDemoStep(runner, step);
}

}  // namespace tqhost

// One step of the guided tour (`tq240 demo`): a call shown as a user would type it, run
// through the call runner, and what it gave printed below it. Every section of the tour
// prints its steps the same way.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/call_runner.h"

namespace tqhost {

struct DemoStep {
  const char* note;                // null: a setup or clean-up call, run without printing
  std::vector<std::string> words;  // function, then arguments
};

// `tq240 call` and the words, each quoted when a shell would split or expand it.
std::string TypedCall(const std::vector<std::string>& words);

// Prints the note and the typed call, runs it and prints the result, the variables written by
// reference, a pass-back, the error raised (with its system code when there is one) or the
// trace left. The call's record; nullopt when it could not be made.
std::optional<CallRecord> RunDemoStep(CallRunner& runner, const char* note,
                                      const std::vector<std::string>& words);

inline std::optional<CallRecord> RunDemoStep(CallRunner& runner, const DemoStep& step) {
  return RunDemoStep(runner, step.note, step.words);
}

// The steps in order.
void RunDemoSteps(CallRunner& runner, const std::vector<DemoStep>& steps);

}  // namespace tqhost

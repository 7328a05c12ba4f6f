// Implementation entries of program launch: LaunchProgram (a success flag; its launch mode is
// a boolean, true waiting for the end) and LaunchProgramEx (a number: 1, the exit code or the
// process id, by launch mode). Absent parameters mean window mode 1 and launch mode 0.
#include "frame/call_context.h"
#include "functions/entry.h"
#include "services/program_launch.h"

namespace tq::entries {
namespace {

constexpr int32_t kDefaultWindowMode = 1;

int32_t Launch(CallContext* context, ComponentProxy* proxy, void** args, int32_t windowMode,
               int32_t launchMode, uint32_t resultType) {
  const int32_t result = LaunchProgram(proxy, TextArgument(args, 0), windowMode, launchMode);
  SetResult(context, &result, resultType);
  return 0;
}

}  // namespace

TQ_ENTRY(LaunchProgram_Line) {
  return Launch(context, proxy, args, kDefaultWindowMode, 0, typecode::kBoolean);
}

TQ_ENTRY(LaunchProgram_Window) {
  return Launch(context, proxy, args, IntegerArgument(args, 1), 0, typecode::kBoolean);
}

TQ_ENTRY(LaunchProgram_Wait) {
  return Launch(context, proxy, args, IntegerArgument(args, 1), BooleanArgument(args, 2) ? 1 : 0,
                typecode::kBoolean);
}

TQ_ENTRY(LaunchProgramEx_Line) {
  return Launch(context, proxy, args, kDefaultWindowMode, 0, typecode::kInteger);
}

TQ_ENTRY(LaunchProgramEx_Window) {
  return Launch(context, proxy, args, IntegerArgument(args, 1), 0, typecode::kInteger);
}

TQ_ENTRY(LaunchProgramEx_Mode) {
  return Launch(context, proxy, args, IntegerArgument(args, 1), IntegerArgument(args, 2),
                typecode::kInteger);
}

}  // namespace tq::entries

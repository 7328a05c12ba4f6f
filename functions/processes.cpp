// Implementation entries of the process functions: ProcessCount, ProcessTerminate,
// ProcessList and ProcessModules. The integer that follows a program or a process id in
// ProcessCount has no effect.
#include <array>

#include "frame/call_context.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "system/process_functions.h"

namespace tq::entries {
namespace {

constexpr size_t kSelectorCount = 7;

uint32_t Pid(void** args, int i) {
  return static_cast<uint32_t>(IntegerArgument(args, i));
}

// A missing selector is -1; a missing first selector counts as 0.
int32_t ListWithSelectors(CallContext* context, ComponentProxy* proxy, void** args, int count) {
  std::array<int32_t, kSelectorCount> selectors;
  selectors.fill(-1);
  for (int i = 0; i < count; ++i) selectors[static_cast<size_t>(i)] = IntegerArgument(args, i);
  if (count == 0) selectors[0] = 0;
  return SetTextResult(context, ListProcesses(proxy, selectors));
}

}  // namespace

TQ_ENTRY(ProcessCount_Application) {
  return SetIntegerResult(context, CountProcessesOf(proxy, {}));
}

TQ_ENTRY(ProcessCount_Program) {
  const std::u16string_view program = TextView(args, 0);
  // An empty name names no program (the running application is the call without one).
  return SetIntegerResult(context, program.empty() ? 0 : CountProcessesOf(proxy, program));
}

TQ_ENTRY(ProcessCount_Id) {
  return SetIntegerResult(context, CountProcessId(proxy, Pid(args, 0)));
}

TQ_ENTRY(ProcessTerminate_Program) {
  return SetBooleanResult(context, TerminateProgram(proxy, TextView(args, 0)));
}

TQ_ENTRY(ProcessTerminate_Id) {
  return SetBooleanResult(context, TerminateProcessId(proxy, Pid(args, 0)));
}

TQ_ENTRY(ProcessList_Names) { return ListWithSelectors(context, proxy, args, 0); }
TQ_ENTRY(ProcessList_1) { return ListWithSelectors(context, proxy, args, 1); }
TQ_ENTRY(ProcessList_2) { return ListWithSelectors(context, proxy, args, 2); }
TQ_ENTRY(ProcessList_3) { return ListWithSelectors(context, proxy, args, 3); }
TQ_ENTRY(ProcessList_4) { return ListWithSelectors(context, proxy, args, 4); }
TQ_ENTRY(ProcessList_5) { return ListWithSelectors(context, proxy, args, 5); }
TQ_ENTRY(ProcessList_6) { return ListWithSelectors(context, proxy, args, 6); }
TQ_ENTRY(ProcessList_7) { return ListWithSelectors(context, proxy, args, 7); }

TQ_ENTRY(ProcessModules_Current) {
  return SetTextResult(context, ListModules(proxy, -1));
}

TQ_ENTRY(ProcessModules_Id) {
  return SetTextResult(context, ListModules(proxy, IntegerArgument(args, 0)));
}

}  // namespace tq::entries

// The workers of the process functions: ProcessCount, ProcessTerminate, ProcessList and
// ProcessModules. They see only the device's process table (the programs the device started
// and the running applications), so no call can reach a process of the host the device did
// not start.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tq {

struct ComponentProxy;

// Processes whose program is `program` (the running application when empty); -1 after 80100.
int32_t CountProcessesOf(ComponentProxy* proxy, std::u16string_view program);
// 1 while the process runs, 0 when it has ended or is not the device's.
int32_t CountProcessId(ComponentProxy* proxy, uint32_t pid);

bool TerminateProgram(ComponentProxy* proxy, std::u16string_view program);
bool TerminateProcessId(ComponentProxy* proxy, uint32_t pid);

// One row per process, columns chosen by the selectors (-1: none; 0 file name; 1 executable
// path; 3 pid; 6 "0"; 8 and others empty), rows joined with CR LF.
std::u16string ListProcesses(ComponentProxy* proxy, std::span<const int32_t> selectors);

// The module names of the process (-1: this one), joined with CR LF.
std::u16string ListModules(ComponentProxy* proxy, int32_t pid);

}  // namespace tq

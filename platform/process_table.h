// The device's process table: the processes that belong to one device root, which are the
// only ones the device's process calls can list, open or end.
//
// Membership: every program that CreateProcessW started for this root, and every running
// application (a process of the library started by the VM) of this root, listed under its
// executable's device path (TQ_APP, default "\Program Files\App\App.exe"). Each member has a
// record in the root's ".device/processes" folder named by its pid, holding the process's
// start time (clock ticks since boot, from /proc/PID/stat) and its device path.
//
// Invariants: a record counts only while a live process (not a zombie) has that pid and that
// start time, so a pid reused by an unrelated process is never taken for a member; records
// that fail the test are removed when seen. Records are written whole (temporary file, then
// rename), so a reader never sees half a record.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows_types.h"

namespace ce {

struct DeviceProcess {
  DWORD pid = 0;
  uint64_t startTime = 0;
  std::u16string devicePath;  // "\Windows\notes.exe"
};

// What /proc says about a process now: its start time, and whether it has ended (zombie).
struct ProcessState {
  uint64_t startTime = 0;
  bool ended = false;
};
std::optional<ProcessState> ReadProcessState(pid_t pid);

// The running application's executable as a device path.
std::u16string ApplicationDevicePath();

// Adds a member; false when the record cannot be written.
bool RecordDeviceProcess(pid_t pid, uint64_t startTime, std::u16string_view devicePath);
// Adds this process under the application's path; removes its record again.
void RecordRunningApplication();
void ForgetRunningApplication();

// The live members, by pid order (stale records are removed on the way).
std::vector<DeviceProcess> DeviceProcesses();
// The live member with this pid.
std::optional<DeviceProcess> FindDeviceProcess(DWORD pid);

}  // namespace ce

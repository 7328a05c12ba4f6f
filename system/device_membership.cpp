// Joining and leaving the device's process table at execution start and end.
#include "system/device_membership.h"

#include <unistd.h>

#include "platform/named_object.h"
#include "platform/process_table.h"

namespace tq {

void EnterDevice() {
  ce::RecordRunningApplication();
  const auto members = ce::DeviceProcesses();
  const bool alone =
      members.size() == 1 && members.front().pid == static_cast<ce::DWORD>(getpid());
  if (alone) ce::RemoveDeviceObjects();
}

void LeaveDevice() {
  ce::ForgetRunningApplication();
}

}  // namespace tq

// Power events appended to the power log; the identifier from the device's description.
#include "platform/power.h"

#include <cstring>
#include <string>

#include "platform/device_description.h"
#include "platform/device_state_files.h"
#include "platform/last_error.h"

namespace ce {
namespace {

bool LogPowerEvent(const std::string& members) {
  return AppendDeviceStateFile("power.log", "{" + members + "}\n");
}

BOOL WriteDeviceId(void* out, DWORD outSize, DWORD* bytesReturned) {
  const std::shared_ptr<const DeviceDescription> d = CurrentDeviceDescription();
  if (!d->deviceId) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  const std::string& preset = d->deviceId->preset;
  const std::string& platform = d->deviceId->platform;
  const DWORD needed = static_cast<DWORD>(sizeof(DEVICE_ID) + preset.size() + platform.size());
  if (out == nullptr || outSize < sizeof(DWORD)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (outSize < needed) {
    std::memcpy(out, &needed, sizeof needed);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  DEVICE_ID id{needed, sizeof(DEVICE_ID), static_cast<DWORD>(preset.size()),
               static_cast<DWORD>(sizeof(DEVICE_ID) + preset.size()),
               static_cast<DWORD>(platform.size())};
  auto* bytes = static_cast<unsigned char*>(out);
  std::memcpy(bytes, &id, sizeof id);
  std::memcpy(bytes + id.dwPresetIDOffset, preset.data(), preset.size());
  std::memcpy(bytes + id.dwPlatformIDOffset, platform.data(), platform.size());
  if (bytesReturned != nullptr) *bytesReturned = needed;
  return TRUE;
}

}  // namespace

void GwesPowerOffSystem() { LogPowerEvent("\"event\": \"power-off\""); }

BOOL KernelIoControl(DWORD code, void*, DWORD, void* out, DWORD outSize, DWORD* bytesReturned) {
  switch (code) {
    case IOCTL_HAL_REBOOT:
      return LogPowerEvent("\"event\": \"reboot\"") ? TRUE : FALSE;
    case IOCTL_HAL_GET_DEVICEID:
      return WriteDeviceId(out, outSize, bytesReturned);
    default:
      SetLastError(ERROR_NOT_SUPPORTED);
      return FALSE;
  }
}

DWORD SetSystemPowerState(const WCHAR*, DWORD flags, DWORD) {
  if (!LogPowerEvent("\"event\": \"power-state\", \"flags\": " + std::to_string(flags))) {
    return GetLastError();
  }
  return ERROR_SUCCESS;
}

}  // namespace ce

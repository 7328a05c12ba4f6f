// The device's power and hardware-abstraction calls: power off, restart, power states and the
// hardware identifier.
//
// The simulated device does not stop: each power event is appended as one JSON line to
// "<device root>/.device/power.log" ({"event": "power-off"}, {"event": "reboot"},
// {"event": "power-state", "flags": N}), where users and tests see what happened.
// The identifier comes from the device's description; a device without one fails the call
// with ERROR_NOT_SUPPORTED.
#pragma once

#include "platform/windows_types.h"

namespace ce {

inline constexpr DWORD IOCTL_HAL_REBOOT = 16842812;
inline constexpr DWORD IOCTL_HAL_GET_DEVICEID = 16842836;

struct DEVICE_ID {
  DWORD dwSize;
  DWORD dwPresetIDOffset;
  DWORD dwPresetIDBytes;
  DWORD dwPlatformIDOffset;
  DWORD dwPlatformIDBytes;
};

void GwesPowerOffSystem();
// IOCTL_HAL_REBOOT (no buffers) and IOCTL_HAL_GET_DEVICEID (a DEVICE_ID followed by the two
// parts; too small a buffer fails with ERROR_INSUFFICIENT_BUFFER and dwSize set to the size
// needed, when the buffer holds at least dwSize).
BOOL KernelIoControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                     DWORD* bytesReturned);
DWORD SetSystemPowerState(const WCHAR* state, DWORD flags, DWORD options);

}  // namespace ce

// Version and platform type of the simulated device.
#include "platform/system_info.h"

#include <algorithm>
#include <cstring>

#include "platform/device_hardware.h"
#include "platform/last_error.h"

namespace ce {

BOOL GetVersionExW(OSVERSIONINFOW* info) {
  if (info == nullptr || (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW) &&
                          info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXW))) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  const DeviceHardware h = CurrentDeviceHardware();
  const DWORD size = info->dwOSVersionInfoSize;
  std::memset(info, 0, size);
  info->dwOSVersionInfoSize = size;
  info->dwMajorVersion = h.osMajor;
  info->dwMinorVersion = h.osMinor;
  info->dwBuildNumber = h.osBuild;
  info->dwPlatformId = h.osPlatform;
  const size_t n = std::min<size_t>(h.osCsd.size(), 127);
  std::copy_n(h.osCsd.data(), n, info->szCSDVersion);
  if (size == sizeof(OSVERSIONINFOEXW)) {
    reinterpret_cast<OSVERSIONINFOEXW*>(info)->wSuiteMask = static_cast<WORD>(h.osSuiteMask);
  }
  return TRUE;
}

BOOL SystemParametersInfoW(UINT action, UINT size, void* buffer, UINT) {
  if (action != SPI_GETPLATFORMTYPE || buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DeviceHardware h = CurrentDeviceHardware();
  if (h.platformType.empty()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const size_t bytes = (h.platformType.size() + 1) * sizeof(char16_t);
  if (bytes > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(buffer, h.platformType.c_str(), bytes);
  return TRUE;
}

}  // namespace ce

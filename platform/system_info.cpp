// Version and platform type of the simulated device.
#include "platform/system_info.h"

#include <algorithm>
#include <cstring>

#include "platform/device_description.h"
#include "platform/last_error.h"

namespace ce {

BOOL GetVersionExW(OSVERSIONINFOW* info) {
  if (info == nullptr || (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW) &&
                          info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXW))) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  const std::shared_ptr<const DeviceDescription> d = CurrentDeviceDescription();
  const DeviceOs& os = d->os;
  const DWORD size = info->dwOSVersionInfoSize;
  std::memset(info, 0, size);
  info->dwOSVersionInfoSize = size;
  info->dwMajorVersion = os.major;
  info->dwMinorVersion = os.minor;
  info->dwBuildNumber = os.build;
  info->dwPlatformId = os.platform;
  const size_t n = std::min<size_t>(os.csd.size(), 127);
  std::copy_n(os.csd.data(), n, info->szCSDVersion);
  if (size == sizeof(OSVERSIONINFOEXW)) {
    reinterpret_cast<OSVERSIONINFOEXW*>(info)->wSuiteMask = static_cast<WORD>(os.suiteMask);
  }
  return TRUE;
}

BOOL SystemParametersInfoW(UINT action, UINT size, void* buffer, UINT) {
  if (action != SPI_GETPLATFORMTYPE || buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::u16string type = CurrentDeviceDescription()->os.platformType;
  if (type.empty()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  const size_t bytes = (type.size() + 1) * sizeof(char16_t);
  if (bytes > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(buffer, type.c_str(), bytes);
  return TRUE;
}

}  // namespace ce

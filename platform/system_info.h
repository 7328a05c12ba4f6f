// The operating system's version and platform type, from the device's description.
#pragma once

#include "platform/windows_types.h"

namespace ce {

inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
inline constexpr DWORD VER_PLATFORM_WIN32_CE = 3;
inline constexpr DWORD VER_SUITE_PERSONAL = 0x200;
inline constexpr UINT SPI_GETPLATFORMTYPE = 257;

struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
};

struct OSVERSIONINFOEXW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};

// Fills the record whose dwOSVersionInfoSize says which of the two it is; other sizes fail
// with ERROR_INSUFFICIENT_BUFFER.
BOOL GetVersionExW(OSVERSIONINFOW* info);

// SPI_GETPLATFORMTYPE only: copies the platform type ("PocketPC") into `buffer` of
// `size` bytes; a type that does not fit fails with ERROR_INSUFFICIENT_BUFFER, and a device
// whose description has an empty platform type refuses with ERROR_ACCESS_DENIED.
BOOL SystemParametersInfoW(UINT action, UINT size, void* buffer, UINT flags);

}  // namespace ce

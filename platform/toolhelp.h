// The tool-help service ("toolhelp.dll"): snapshots of the device's process table and of a
// process's modules, reached by name through LoadLibraryW / GetProcAddress once
// RegisterToolHelpModule has declared the module.
//
// A process snapshot lists the members of the device's process table (process_table.h), each
// with its device path as its executable name. A module snapshot lists what /proc/PID/maps
// shows mapped from files, in order of first mapping, each file once: files inside the device
// root under their device path, other files under their host path; the module name is the
// file name. A pid outside the table cannot be snapshotted (ERROR_INVALID_PARAMETER).
//
// Invariants: records have the device's layout (PROCESSENTRY32 is 564 bytes, MODULEENTRY32
// 1076); dwSize must be set by the caller. Snapshot handles are kernel handles closed with
// CloseToolhelp32Snapshot or CloseHandle.
#pragma once

#include "platform/windows_types.h"

namespace ce {

inline constexpr DWORD TH32CS_SNAPPROCESS = 0x00000002;
inline constexpr DWORD TH32CS_SNAPMODULE = 0x00000008;
inline constexpr DWORD TH32CS_SNAPNOHEAPS = 0x40000000;

struct PROCESSENTRY32 {
  DWORD dwSize;
  DWORD cntUsage;
  DWORD th32ProcessID;
  DWORD th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  WCHAR szExeFile[MAX_PATH];
  DWORD th32MemoryBase;
  DWORD th32AccessKey;
};
static_assert(sizeof(PROCESSENTRY32) == 564);

struct MODULEENTRY32 {
  DWORD dwSize;
  DWORD th32ModuleID;
  DWORD th32ProcessID;
  DWORD GlblcntUsage;
  DWORD ProccntUsage;
  DWORD modBaseAddr;  // the low word of the address: the device's records are 32-bit
  DWORD modBaseSize;
  DWORD hModule;
  WCHAR szModule[256];
  WCHAR szExePath[MAX_PATH];
  DWORD dwFlags;
  DWORD dwReserved[2];
};
static_assert(sizeof(MODULEENTRY32) == 1076);

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Module32First(HANDLE snapshot, MODULEENTRY32* entry);
BOOL Module32Next(HANDLE snapshot, MODULEENTRY32* entry);
BOOL CloseToolhelp32Snapshot(HANDLE snapshot);

// Declares the device module "toolhelp.dll" with the calls above (once).
void RegisterToolHelpModule();

}  // namespace ce

// Memory shared between processes: CreateFileMappingW (backed by memory only, never by a
// file), OpenFileMappingW, MapViewOfFile, UnmapViewOfFile and VirtualQuery.
//
// A mapping's bytes live after the header page of its named object (named_object.h). A view
// always covers the whole mapping; it keeps the mapping alive after its handle is closed, as
// on the device. VirtualQuery describes a view as one committed region whose size is the
// mapping's size rounded up to whole pages, which is what the device reports.
#pragma once

#include <cstddef>

#include "platform/kernel_object.h"
#include "platform/windows_types.h"

namespace ce {

inline constexpr DWORD PAGE_READONLY = 0x02;
inline constexpr DWORD PAGE_READWRITE = 0x04;
inline constexpr DWORD FILE_MAP_WRITE = 0x0002;
inline constexpr DWORD FILE_MAP_READ = 0x0004;
inline constexpr DWORD FILE_MAP_ALL_ACCESS = 0x000F001F;
inline constexpr DWORD MEM_COMMIT = 0x1000;
inline constexpr DWORD MEM_MAPPED = 0x40000;
// The device's INVALID_HANDLE_VALUE, the "file" of a mapping backed by memory only.
inline const HANDLE kMemoryOnlyFile = reinterpret_cast<HANDLE>(-1);

struct MEMORY_BASIC_INFORMATION {
  void* BaseAddress;
  void* AllocationBase;
  DWORD AllocationProtect;
  size_t RegionSize;
  DWORD State;
  DWORD Protect;
  DWORD Type;
};

// `file` must be kMemoryOnlyFile; protection PAGE_READONLY or
// PAGE_READWRITE; the size is given in two words and must not be 0 for a new mapping.
HANDLE CreateFileMappingW(HANDLE file, void* attributes, DWORD protection, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCWSTR name);
HANDLE OpenFileMappingW(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name);
// Maps the whole mapping (offset and size must be 0); FILE_MAP_WRITE or FILE_MAP_ALL_ACCESS
// give a writable view, FILE_MAP_READ a read-only one.
void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow,
                    size_t bytes);
BOOL UnmapViewOfFile(const void* view);
size_t VirtualQuery(const void* address, MEMORY_BASIC_INFORMATION* information, size_t length);

}  // namespace ce

// The registry calls of the device (RegOpenKeyExW, RegCreateKeyExW, RegQueryValueExW, ...)
// over the device registry's store (registry_store.h).
//
// Semantics are the device's: calls return an error code (ERROR_SUCCESS = 0) rather than
// setting the last error; samDesired and the reserved arguments are accepted and ignored, as
// the device ignores them; a null or empty sub-key opens the key itself. Key names are
// compared without regard to case and kept as written; a name is at most 255 characters and
// a path may not hold empty names (ERROR_INVALID_PARAMETER). Value data are stored as the
// exact bytes given, with their type number; a value of any type and size round-trips.
//
// Size rules: RegQueryValueExW and RegEnumValueW report the data size in bytes in *lpcbData;
// with lpData null they only report it; when the buffer is smaller, nothing is copied and
// ERROR_MORE_DATA is returned with the size needed. Name buffers (lpcName, lpcchValueName) are
// counted in characters including the terminator on input and excluding it on output; a name
// that does not fit gives ERROR_MORE_DATA. An index past the last item gives
// ERROR_NO_MORE_ITEMS. A handle whose key was deleted meanwhile gives ERROR_KEY_DELETED, an
// unknown handle ERROR_INVALID_HANDLE, a store that cannot be used ERROR_BADDB.
#pragma once

#include <cstdint>

#include "platform/windows_types.h"

namespace ce {

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(uintptr_t{0x80000000});
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t{0x80000001});
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(uintptr_t{0x80000002});
inline const HKEY HKEY_USERS = reinterpret_cast<HKEY>(uintptr_t{0x80000003});

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_RESOURCE_LIST = 8;
inline constexpr DWORD REG_QWORD = 11;

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xf003f;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM desired, void* security, PHKEY result, DWORD* disposition);
LONG RegCloseKey(HKEY key);

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* dataSize);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD dataSize);
LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
// Deletes the sub-key with every key and value beneath it, as the device does.
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD* nameSize, DWORD* reserved,
                   LPWSTR keyClass, DWORD* classSize, FILETIME* lastWrite);
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, DWORD* valueNameSize, DWORD* reserved,
                   DWORD* type, BYTE* data, DWORD* dataSize);
LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, DWORD* classSize, DWORD* reserved, DWORD* subKeys,
                      DWORD* longestSubKey, DWORD* longestClass, DWORD* values,
                      DWORD* longestValueName, DWORD* longestValueData, DWORD* securityDescriptor,
                      FILETIME* lastWrite);

}  // namespace ce

// Loading modules: LoadLibraryW, GetProcAddress, FreeLibrary and GetModuleHandleW over the
// host's dynamic loader, with a registry that says which device modules exist.
//
// A device module name ("Ws2.dll", "\Windows\cellcore.dll", "toolhelp") is reduced to its
// file name, compared without regard to case, ".dll" implied when there is no extension. The
// device has only the modules registered here: each stands either for a host shared object
// (loaded with dlopen) or for procedures linked into this program (a table of names and
// ordinals). Any other name is a normal absence: null with ERROR_MOD_NOT_FOUND. An absolute
// host path of a shared object ("/usr/lib/x.so") is loaded as it is.
//
// Invariants: a handle returned by LoadLibraryW stays valid until as many FreeLibrary calls as
// loads; GetModuleHandleW does not count. GetProcAddress also accepts handles that the caller
// obtained from dlopen itself (the VM stand-in hands over dlopen(nullptr)).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_types.h"

namespace ce {

HMODULE LoadLibraryW(const char16_t* name);
BOOL FreeLibrary(HMODULE module);
// The device's form takes the procedure name in UTF-16; both accept an ordinal given as a
// pointer value below 0x10000. Unknown procedure: null with ERROR_PROC_NOT_FOUND.
FARPROC GetProcAddressW(HMODULE module, const char16_t* procName);
FARPROC GetProcAddress(HMODULE module, const char* procName);
// A module that is loaded now, without counting a load; null names the main program.
HMODULE GetModuleHandleW(const char16_t* name);

// A procedure of a module linked into this program.
struct ModuleExport {
  std::string name;  // empty when exported by ordinal only
  WORD ordinal = 0;  // 0 when exported by name only
  FARPROC address = nullptr;
};

// Declares that the device has `deviceName`, backed by a host shared object. Replaces an
// earlier registration of the same name (already loaded handles stay valid).
void RegisterDeviceModule(std::u16string_view deviceName, std::string hostObject);
// Declares that the device has `deviceName`, backed by procedures of this program.
void RegisterBuiltinDeviceModule(std::u16string_view deviceName, std::vector<ModuleExport> exports);
// Adds procedures to the built-in module `deviceName` (declaring it when the device has no
// module of that name yet); handles already given out see them at once. A procedure of the
// same name is replaced.
void AddBuiltinDeviceExports(std::u16string_view deviceName, std::vector<ModuleExport> exports);
// Removes a registration (tests); loaded handles stay valid.
void UnregisterDeviceModule(std::u16string_view deviceName);

// The registry key for a device module name: "ws2.dll" for "\Windows\WS2.DLL" or "Ws2".
std::u16string DeviceModuleKey(std::u16string_view deviceName);

}  // namespace ce

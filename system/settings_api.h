// The device's settings stores for the other families of the library: registry values and INI
// files read and written in plain C++ types, without a VM call around them.
//
//   ReadRegistryString / ReadRegistryDword / ReadRegistryBytes: a value of a key path
//     ("HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Power", "BattPowerOff");
//     nullopt when the key or value is absent or of another type (strings: REG_SZ or
//     REG_EXPAND_SZ, up to the first null; DWORDs: REG_DWORD, 4 bytes).
//   WriteRegistryString / WriteRegistryDword: create the key when missing, then write;
//     false when the store refuses (the device's error code in the last error).
//   ReadIniString: the value of a key in an INI file (device path), as ProfileRead gives it;
//     nullopt when the file, section or key is absent.
//   WriteIniString: as ProfileWrite with an explicit file.
//
// These go through the same device registry and profile engine as the standard functions, so
// every process on the device root sees the same values at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq::settings {

std::optional<std::u16string> ReadRegistryString(std::u16string_view keyPath,
                                                 std::u16string_view name);
std::optional<uint32_t> ReadRegistryDword(std::u16string_view keyPath, std::u16string_view name);
// The raw bytes and type of any value.
struct RegistryBytes {
  uint32_t type = 0;
  std::string bytes;
};
std::optional<RegistryBytes> ReadRegistryBytes(std::u16string_view keyPath,
                                               std::u16string_view name);

bool WriteRegistryString(std::u16string_view keyPath, std::u16string_view name,
                         std::u16string_view value);
bool WriteRegistryDword(std::u16string_view keyPath, std::u16string_view name, uint32_t value);

std::optional<std::u16string> ReadIniString(std::u16string_view file, std::u16string_view section,
                                            std::u16string_view key);
bool WriteIniString(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                    std::u16string_view value);

}  // namespace tq::settings

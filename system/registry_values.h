// Reading and writing one registry value named by a key path and a value name or a 1-based
// index (index N is the value the system enumerates at N-1; index 0 and the empty name are the
// key's default value).
//
// Invariants: reads never raise: what cannot be read is reported by `read` false. Reading the
// default value of an existing key always succeeds (an absent default reads as an empty
// REG_SZ). Writes raise 80293 when the key cannot be opened or the system refuses the write.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace tq {

struct ComponentProxy;
struct DynamicValue;

struct RegistryData {
  bool read = false;
  ce::DWORD type = 0;  // REG_NONE when nothing was read
  std::string bytes;   // exact bytes
};

RegistryData ReadRegistryValue(std::u16string_view keyPath, std::u16string_view name);
RegistryData ReadRegistryValueAt(std::u16string_view keyPath, int32_t index);

// The value the functions return for registry data: REG_SZ the VM's string (type 110),
// REG_EXPAND_SZ and REG_MULTI_SZ the raw characters (type 16), REG_BINARY a buffer (28), REG_DWORD
// an integer, REG_DWORD_BIG_ENDIAN an integer with its 16-bit halves exchanged, REG_QWORD an 8-byte
// integer (type 5), REG_NONE, REG_LINK and REG_RESOURCE_LIST an empty string, other types nothing.
void RegistryDataToValue(const RegistryData& data, DynamicValue& out);

// The quoted type name ("REG_SZ", ...) of types 1, 2, 3, 4, 5, 7, 11; empty for others.
std::u16string_view RegistryTypeName(ce::DWORD type);

bool WriteRegistryValue(ComponentProxy* proxy, std::u16string_view keyPath,
                        std::u16string_view name, ce::DWORD type, std::string_view bytes);
// Index >= 1 writes the value enumerated at index-1 (nothing and false when there is none);
// index 0 writes the default value.
bool WriteRegistryValueAt(ComponentProxy* proxy, std::u16string_view keyPath, int32_t index,
                          ce::DWORD type, std::string_view bytes);

// The bytes of a string as written by name (terminator included) or by index (without).
std::string StringBytes(std::u16string_view text, bool withTerminator);

// The 32-bit number with its two 16-bit halves exchanged.
inline uint32_t SwapHalves(uint32_t n) {
  return (n << 16) | (n >> 16);
}

}  // namespace tq

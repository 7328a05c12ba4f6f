// The VM values that the registry and parameter functions take, turned into registry data
// or text. The argument itself is never changed: conversions work on a copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace tq {

struct DynamicValue;

struct TypedBytes {
  ce::DWORD type = 0;
  std::string bytes;
};

// Whether an upper-case name is one of "REG_DWORD", "REG_DWORD_BIG_ENDIAN", "REG_SZ",
// "REG_EXPAND_SZ", "REG_QWORD", "REG_MULTI_SZ", "REG_BINARY".
bool IsRegistryTypeName(std::u16string_view upperName);

// The registry data for a value written with a type name (upper case): the value converted
// to a 4-byte integer (DWORD types; the big-endian one with its halves exchanged), a string
// (REG_SZ, REG_EXPAND_SZ), an 8-byte integer (REG_QWORD) or raw characters (REG_MULTI_SZ),
// or its bytes unchanged (REG_BINARY). nullopt for an unknown name or a value the VM cannot
// convert.
std::optional<TypedBytes> TypedRegistryBytes(const DynamicValue& value,
                                             std::u16string_view upperName);

// The value as text (texts as they are, anything else converted by the VM); nullopt when it
// cannot be converted.
std::optional<std::u16string> ValueAsText(const DynamicValue& value);

// The bytes a value holds: a VMString's bytes, or the payload's native bytes.
std::string PayloadBytes(const DynamicValue& value);

}  // namespace tq

// Registry keys named by key paths: creating, deleting with every subkey, testing, walking
// subkeys one at a time (first, next), and listing subkeys and values.
//
// Invariants: walks and lists never raise (a key that cannot be opened gives an empty
// result); subkey names in walks are at most 256 characters. Results of walks are full key
// paths "ROOT\sub\path\name"; lists join names with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

struct ComponentProxy;

// True only when the key was newly created; see the error rules in registry_keys.cpp.
bool CreateRegistryKey(ComponentProxy* proxy, std::u16string_view keyPath);
// True when the key is gone afterwards (a key that cannot be opened counts as deleted).
bool DeleteRegistryKey(ComponentProxy* proxy, std::u16string_view keyPath);
bool DeleteRegistryValue(ComponentProxy* proxy, std::u16string_view keyPath,
                         std::u16string_view name);

bool RegistryKeyExists(std::u16string_view keyPath);
bool RegistryValueExists(std::u16string_view keyPath, std::u16string_view name);
bool RegistryIndexExists(std::u16string_view keyPath, int32_t index);

std::u16string FirstSubKey(std::u16string_view keyPath);
std::u16string NextSubKey(std::u16string_view subKeyPath);

std::u16string ListRegistryValues(std::u16string_view keyPath, bool withTypes);
std::u16string ListRegistrySubKeys(std::u16string_view keyPath);

}  // namespace tq

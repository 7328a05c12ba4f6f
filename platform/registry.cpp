// The device's registry calls: handles and the device's size rules over the store.
//
// Handles: the predefined roots are fixed values; every opened key is an entry of a
// process-wide table (key id of the store), handed out as a pointer-sized number that is never
// reused while the process lives, so a stale handle is refused rather than mistaken for
// another key.
#include "platform/registry.h"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/registry_schema.h"
#include "platform/registry_store.h"

namespace ce {
namespace {

using registry::KeyId;
using registry::Store;

std::mutex gHandlesMutex;
std::unordered_map<uintptr_t, KeyId> gHandles;
uintptr_t gNextHandle = 0x10000;

LONG ResolveKey(HKEY key, KeyId* id) {
  const uintptr_t h = reinterpret_cast<uintptr_t>(key);
  if (h >= 0x80000000u && h <= 0x80000003u) {
    *id = registry::kClassesRootId + static_cast<KeyId>(h - 0x80000000u);
    return ERROR_SUCCESS;
  }
  std::lock_guard<std::mutex> lock(gHandlesMutex);
  auto found = gHandles.find(h);
  if (found == gHandles.end()) return ERROR_INVALID_HANDLE;
  *id = found->second;
  return ERROR_SUCCESS;
}

HKEY NewHandle(KeyId id) {
  std::lock_guard<std::mutex> lock(gHandlesMutex);
  const uintptr_t h = gNextHandle;
  gNextHandle += 4;
  gHandles.emplace(h, id);
  return reinterpret_cast<HKEY>(h);
}

// The store and the key a call works on.
struct Target {
  Store* store = nullptr;
  KeyId key = 0;
};

LONG Begin(HKEY key, Target* target) {
  if (LONG e = ResolveKey(key, &target->key)) return e;
  DWORD error = ERROR_SUCCESS;
  target->store = Store::Current(&error);
  return target->store != nullptr ? ERROR_SUCCESS : static_cast<LONG>(error);
}

std::u16string_view NameOf(LPCWSTR name) {
  return name != nullptr ? std::u16string_view(name) : std::u16string_view();
}

// Copies a name under the character-count rules of the enumeration calls.
LONG CopyName(const std::u16string& name, LPWSTR buffer, DWORD* size) {
  if (size == nullptr) return ERROR_INVALID_PARAMETER;
  if (buffer == nullptr || *size <= name.size()) {
    *size = static_cast<DWORD>(name.size() + 1);
    return buffer == nullptr ? ERROR_INVALID_PARAMETER : ERROR_MORE_DATA;
  }
  std::memcpy(buffer, name.data(), name.size() * 2);
  buffer[name.size()] = 0;
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// Copies value data under the byte-count rules of the query calls.
LONG CopyData(const registry::StoredValue& value, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (type != nullptr) *type = value.type;
  if (dataSize == nullptr) return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
  const DWORD needed = static_cast<DWORD>(value.data.size());
  if (data != nullptr && *dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  if (data != nullptr && needed != 0) std::memcpy(data, value.data.data(), needed);
  *dataSize = needed;
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  KeyId found = 0;
  if (LONG e = static_cast<LONG>(t.store->OpenPath(t.key, NameOf(subKey), &found))) return e;
  *result = NewHandle(found);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, void*, PHKEY result,
                     DWORD* disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  KeyId found = 0;
  bool created = false;
  if (LONG e = static_cast<LONG>(t.store->CreatePath(t.key, NameOf(subKey), &found, &created)))
    return e;
  *result = NewHandle(found);
  if (disposition != nullptr)
    *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  const uintptr_t h = reinterpret_cast<uintptr_t>(key);
  if (h >= 0x80000000u && h <= 0x80000003u) return ERROR_SUCCESS;
  std::lock_guard<std::mutex> lock(gHandlesMutex);
  return gHandles.erase(h) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD*, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  registry::StoredValue value;
  if (LONG e = static_cast<LONG>(t.store->QueryValue(t.key, NameOf(valueName), &value))) return e;
  return CopyData(value, type, data, dataSize);
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data,
                    DWORD dataSize) {
  if (data == nullptr && dataSize != 0) return ERROR_INVALID_PARAMETER;
  if (NameOf(valueName).size() > 16383) return ERROR_INVALID_PARAMETER;
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  const std::string_view bytes(reinterpret_cast<const char*>(data), data ? dataSize : 0);
  return static_cast<LONG>(t.store->SetValue(t.key, NameOf(valueName), type, bytes));
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  return static_cast<LONG>(t.store->DeleteValue(t.key, NameOf(valueName)));
}

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  return static_cast<LONG>(t.store->DeleteSubKey(t.key, NameOf(subKey)));
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD* nameSize, DWORD*, LPWSTR keyClass,
                   DWORD* classSize, FILETIME* lastWrite) {
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  std::u16string found;
  if (LONG e = static_cast<LONG>(t.store->EnumKey(t.key, index, &found))) return e;
  if (keyClass != nullptr && classSize != nullptr && *classSize > 0) keyClass[0] = 0;
  if (classSize != nullptr) *classSize = 0;
  if (lastWrite != nullptr) *lastWrite = FILETIME{0, 0};
  return CopyName(found, name, nameSize);
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, DWORD* valueNameSize, DWORD*,
                   DWORD* type, BYTE* data, DWORD* dataSize) {
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  registry::StoredValue value;
  if (LONG e = static_cast<LONG>(t.store->EnumValue(t.key, index, &value))) return e;
  if (LONG e = CopyName(value.name, valueName, valueNameSize)) return e;
  return CopyData(value, type, data, dataSize);
}

LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, DWORD* classSize, DWORD*, DWORD* subKeys,
                      DWORD* longestSubKey, DWORD* longestClass, DWORD* values,
                      DWORD* longestValueName, DWORD* longestValueData, DWORD* securityDescriptor,
                      FILETIME* lastWrite) {
  Target t;
  if (LONG e = Begin(key, &t)) return e;
  registry::KeyCounts counts;
  if (LONG e = static_cast<LONG>(t.store->Counts(t.key, &counts))) return e;
  if (keyClass != nullptr && classSize != nullptr && *classSize > 0) keyClass[0] = 0;
  if (classSize != nullptr) *classSize = 0;
  if (subKeys != nullptr) *subKeys = counts.subKeys;
  if (longestSubKey != nullptr) *longestSubKey = counts.longestSubKey;
  if (longestClass != nullptr) *longestClass = 0;
  if (values != nullptr) *values = counts.values;
  if (longestValueName != nullptr) *longestValueName = counts.longestValueName;
  if (longestValueData != nullptr) *longestValueData = counts.longestData;
  if (securityDescriptor != nullptr) *securityDescriptor = 0;
  if (lastWrite != nullptr) *lastWrite = FILETIME{0, 0};
  return ERROR_SUCCESS;
}

}  // namespace ce

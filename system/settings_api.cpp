// The settings stores in plain C++ types, over the registry calls and the profile engine.
#include "system/settings_api.h"

#include <cstring>

#include "platform/last_error.h"
#include "platform/registry.h"
#include "system/key_path.h"
#include "system/profile_engine.h"
#include "system/registry_values.h"

namespace tq::settings {
namespace {

// The value as stored, without the default-value forgiveness of the standard functions.
std::optional<RegistryBytes> Query(std::u16string_view keyPath, std::u16string_view name) {
  OpenedKey key(keyPath);
  if (!key) return std::nullopt;
  const std::u16string n(name);
  ce::DWORD type = 0, size = 0;
  if (ce::RegQueryValueExW(key.get(), n.c_str(), nullptr, &type, nullptr, &size) != 0)
    return std::nullopt;
  RegistryBytes value{type, std::string(size, '\0')};
  if (ce::RegQueryValueExW(key.get(), n.c_str(), nullptr, &type,
                           reinterpret_cast<ce::BYTE*>(value.bytes.data()), &size) != 0)
    return std::nullopt;
  value.bytes.resize(size);
  return value;
}

bool Write(std::u16string_view keyPath, std::u16string_view name, ce::DWORD type,
           std::string_view bytes) {
  const std::optional<SplitPath> split = SplitKeyPath(keyPath);
  ce::HKEY root = split ? RootKeyHandle(split->root) : nullptr;
  if (root == nullptr) {
    ce::SetLastError(ce::ERROR_FILE_NOT_FOUND);
    return false;
  }
  ce::HKEY key = nullptr;
  ce::LONG e = ce::RegCreateKeyExW(root, split->subPath.c_str(), 0, nullptr, 0, ce::KEY_ALL_ACCESS,
                                   nullptr, &key, nullptr);
  if (e == ce::ERROR_SUCCESS) {
    e = ce::RegSetValueExW(key, std::u16string(name).c_str(), 0, type,
                           reinterpret_cast<const ce::BYTE*>(bytes.data()),
                           static_cast<ce::DWORD>(bytes.size()));
    ce::RegCloseKey(key);
  }
  if (e != ce::ERROR_SUCCESS) ce::SetLastError(static_cast<ce::DWORD>(e));
  return e == ce::ERROR_SUCCESS;
}

}  // namespace

std::optional<RegistryBytes> ReadRegistryBytes(std::u16string_view keyPath,
                                               std::u16string_view name) {
  return Query(keyPath, name);
}

std::optional<std::u16string> ReadRegistryString(std::u16string_view keyPath,
                                                 std::u16string_view name) {
  const std::optional<RegistryBytes> value = Query(keyPath, name);
  if (!value || (value->type != ce::REG_SZ && value->type != ce::REG_EXPAND_SZ))
    return std::nullopt;
  std::u16string text(value->bytes.size() / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), value->bytes.data(), text.size() * 2);
  const size_t end = text.find(u'\0');
  if (end != std::u16string::npos) text.resize(end);
  return text;
}

std::optional<uint32_t> ReadRegistryDword(std::u16string_view keyPath, std::u16string_view name) {
  const std::optional<RegistryBytes> value = Query(keyPath, name);
  if (!value || value->type != ce::REG_DWORD || value->bytes.size() != 4) return std::nullopt;
  uint32_t n = 0;
  std::memcpy(&n, value->bytes.data(), 4);
  return n;
}

bool WriteRegistryString(std::u16string_view keyPath, std::u16string_view name,
                         std::u16string_view value) {
  return Write(keyPath, name, ce::REG_SZ, StringBytes(value, true));
}

bool WriteRegistryDword(std::u16string_view keyPath, std::u16string_view name, uint32_t value) {
  return Write(keyPath, name, ce::REG_DWORD,
               std::string_view(reinterpret_cast<const char*>(&value), 4));
}

std::optional<std::u16string> ReadIniString(std::u16string_view file, std::u16string_view section,
                                            std::u16string_view key) {
  // A default no file can hold (it contains CR LF) tells an absent key from an empty value.
  constexpr std::u16string_view kAbsent = u"\r\n<absent>\r\n";
  std::u16string text = ProfileEngineRead(section, key, kAbsent, file);
  if (text == kAbsent) return std::nullopt;
  return text;
}

bool WriteIniString(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                    std::u16string_view value) {
  return ProfileEngineWrite(section, key, value, file);
}

}  // namespace tq::settings

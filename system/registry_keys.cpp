// Creating, deleting, testing, walking and listing registry keys.
#include "system/registry_keys.h"

#include "frame/error_state.h"
#include "frame/raise_error.h"
#include "platform/registry.h"
#include "system/key_path.h"
#include "system/registry_errors.h"
#include "system/registry_values.h"

namespace tq {
namespace {

constexpr ce::DWORD kLongestSubKeyName = 256;

// The name of subkey `index` of an open key, or nothing.
bool SubKeyName(ce::HKEY key, ce::DWORD index, std::u16string* name) {
  char16_t buffer[kLongestSubKeyName + 1];
  ce::DWORD size = kLongestSubKeyName + 1;
  if (ce::RegEnumKeyExW(key, index, buffer, &size, nullptr, nullptr, nullptr, nullptr) !=
      ce::ERROR_SUCCESS)
    return false;
  name->assign(buffer, size);
  return true;
}

char16_t TypeLetter(ce::DWORD type) {
  switch (type) {
    case ce::REG_SZ:
    case ce::REG_EXPAND_SZ:
    case ce::REG_MULTI_SZ:
      return u'T';
    case ce::REG_DWORD:
    case ce::REG_DWORD_BIG_ENDIAN:
      return u'N';
    default:
      return u'B';
  }
}

}  // namespace

// A failing creation records 80291 with the system code; the result is true only for a new
// key. Otherwise, unless the error state is clean (level 1, no system code), 80293 is raised
// with the pending code's message and the level becomes 2.
bool CreateRegistryKey(ComponentProxy* proxy, std::u16string_view keyPath) {
  if (!keyPath.empty()) {
    ce::DWORD code = ce::ERROR_FILE_NOT_FOUND;
    ce::HKEY created = nullptr;
    ce::DWORD disposition = 0;
    const std::optional<SplitPath> split = SplitKeyPath(keyPath);
    if (!split) {
      code = ce::ERROR_FILENAME_EXCED_RANGE;
    } else if (ce::HKEY root = RootKeyHandle(split->root)) {
      code = static_cast<ce::DWORD>(ce::RegCreateKeyExW(root, split->subPath.c_str(), 0, nullptr, 0,
                                                        ce::KEY_ALL_ACCESS, nullptr, &created,
                                                        &disposition));
    }
    if (code != ce::ERROR_SUCCESS) {
      RaiseKeyFailure(proxy, keyPath, code);
    } else {
      ce::RegCloseKey(created);
      if (disposition == ce::REG_CREATED_NEW_KEY) return true;
    }
  }
  CXError* state = ErrorStateOf(proxy);
  if (state->systemCode == 0 && state->level == kLevelNone) return false;
  const uint32_t pending = state->systemCode;
  RaiseWriteFailure(proxy, keyPath, u"", pending);
  state->level = 2;
  return false;
}

bool DeleteRegistryKey(ComponentProxy* proxy, std::u16string_view keyPath) {
  if (keyPath.empty()) {
    RaiseError(proxy, registry_error::kEmptyKeyPath, {registry_error::kUnnamedArgument});
    return false;
  }
  if (!RegistryKeyExists(keyPath)) return true;
  // Depth first: the first subkey is deleted until there is none.
  for (std::u16string child = FirstSubKey(keyPath); !child.empty(); child = FirstSubKey(keyPath))
    if (!DeleteRegistryKey(proxy, child)) return false;
  const std::optional<SplitPath> split = SplitKeyPath(keyPath);
  if (!split || split->subPath.empty()) return false;
  ce::HKEY root = RootKeyHandle(split->root);
  return root != nullptr && ce::RegDeleteKeyW(root, split->subPath.c_str()) == ce::ERROR_SUCCESS;
}

bool DeleteRegistryValue(ComponentProxy* proxy, std::u16string_view keyPath,
                         std::u16string_view name) {
  if (keyPath.empty() || name.empty()) return false;
  if (!ReadRegistryValue(keyPath, name).read) return true;
  ce::DWORD code = 0;
  OpenedKey key(keyPath, &code);
  if (key)
    code = static_cast<ce::DWORD>(ce::RegDeleteValueW(key.get(), std::u16string(name).c_str()));
  if (code == ce::ERROR_SUCCESS) return true;
  RaiseKeyFailure(proxy, keyPath, code);
  return false;
}

bool RegistryKeyExists(std::u16string_view keyPath) {
  return !keyPath.empty() && static_cast<bool>(OpenedKey(keyPath));
}

bool RegistryValueExists(std::u16string_view keyPath, std::u16string_view name) {
  if (keyPath.empty()) return false;
  return name.empty() ? RegistryKeyExists(keyPath) : ReadRegistryValue(keyPath, name).read;
}

bool RegistryIndexExists(std::u16string_view keyPath, int32_t index) {
  return !keyPath.empty() && ReadRegistryValueAt(keyPath, index).read;
}

std::u16string FirstSubKey(std::u16string_view keyPath) {
  const std::optional<SplitPath> split = SplitKeyPath(keyPath);
  if (!split) return {};
  std::u16string result = split->root + u"\\" + split->subPath;
  if (!split->subPath.empty()) result += u'\\';
  OpenedKey key(keyPath);
  std::u16string name;
  if (!key || !SubKeyName(key.get(), 0, &name)) return {};
  return result + name;
}

std::u16string NextSubKey(std::u16string_view subKeyPath) {
  const std::optional<SplitPath> split = SplitKeyPath(subKeyPath);
  if (!split) return {};
  const size_t slash = split->subPath.rfind(u'\\');
  const std::u16string parent =
      slash == std::u16string::npos ? std::u16string() : split->subPath.substr(0, slash);
  const std::u16string current =
      slash == std::u16string::npos ? split->subPath : split->subPath.substr(slash + 1);
  std::u16string result = split->root + u"\\";
  if (!parent.empty()) result += parent + u"\\";
  OpenedKey key(split->root + u"\\" + parent);
  if (!key) return {};
  std::u16string name;
  for (ce::DWORD i = 0; SubKeyName(key.get(), i, &name); ++i) {
    if (name != current) continue;
    if (!SubKeyName(key.get(), i + 1, &name)) return {};
    return result + name;
  }
  return {};
}

std::u16string ListRegistryValues(std::u16string_view keyPath, bool withTypes) {
  if (keyPath.empty()) return {};
  OpenedKey key(keyPath);
  ce::DWORD count = 0, longest = 0;
  if (!key ||
      ce::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                           &longest, nullptr, nullptr, nullptr) != ce::ERROR_SUCCESS)
    return {};
  std::u16string list, name(longest + 1, u'\0');
  for (ce::DWORD i = 0; i < count; ++i) {
    ce::DWORD size = longest + 1, type = 0;
    if (ce::RegEnumValueW(key.get(), i, name.data(), &size, nullptr, &type, nullptr, nullptr) !=
        ce::ERROR_SUCCESS)
      break;
    if (i != 0) list += u"\r\n";
    list.append(name.data(), size);
    if (withTypes) list += std::u16string(u"\t") + TypeLetter(type);
  }
  return list;
}

std::u16string ListRegistrySubKeys(std::u16string_view keyPath) {
  if (keyPath.empty()) return {};
  OpenedKey key(keyPath);
  if (!key) return {};
  std::u16string list, name;
  for (ce::DWORD i = 0; SubKeyName(key.get(), i, &name); ++i) {
    if (i != 0) list += u"\r\n";
    list += name;
  }
  return list;
}

}  // namespace tq

// Device modules over dlopen/dlsym and the registry of modules that the device has.
#include "platform/modules.h"

#include <dlfcn.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/last_error.h"
#include "platform/utf8.h"

namespace ce {
namespace {

struct BuiltinModule {
  std::u16string key;
  std::vector<ModuleExport> exports;
};

struct Registration {
  std::string hostObject;                  // set for a host shared object
  std::shared_ptr<BuiltinModule> builtin;  // set for procedures of this program
};

struct LoadedModule {
  std::u16string key;  // device module key, or the host path as given
  bool builtin = false;
  int count = 0;
};

std::mutex gMutex;
std::map<std::u16string, Registration> gRegistry;  // guarded by gMutex
std::map<HMODULE, LoadedModule> gLoaded;           // guarded by gMutex
// Built-in modules are never destroyed, so that a handle outlives its registration.
std::vector<std::shared_ptr<BuiltinModule>> gBuiltins;  // guarded by gMutex
std::set<HMODULE> gBuiltinHandles;                      // guarded by gMutex

bool IsOrdinal(const void* name) {
  return reinterpret_cast<uintptr_t>(name) < 0x10000;
}

char16_t AsciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

HMODULE Fail(DWORD code) {
  SetLastError(code);
  return nullptr;
}

// Records one more load of `handle`; the caller holds gMutex.
HMODULE CountLoad(HMODULE handle, const std::u16string& key, bool builtin) {
  LoadedModule& loaded = gLoaded[handle];
  loaded.key = key;
  loaded.builtin = builtin;
  ++loaded.count;
  return handle;
}

FARPROC FindBuiltinExport(const BuiltinModule& module, const char* procName) {
  for (const ModuleExport& entry : module.exports) {
    const bool match =
        IsOrdinal(procName)
            ? entry.ordinal != 0 && entry.ordinal == reinterpret_cast<uintptr_t>(procName)
            : entry.name == procName;
    if (match) return entry.address;
  }
  return nullptr;
}

}  // namespace

std::u16string DeviceModuleKey(std::u16string_view deviceName) {
  const size_t slash = deviceName.find_last_of(u"\\/");
  if (slash != std::u16string_view::npos) deviceName.remove_prefix(slash + 1);
  std::u16string key;
  for (char16_t c : deviceName) key.push_back(AsciiLower(c));
  if (!key.empty() && key.find(u'.') == std::u16string::npos) key += u".dll";
  return key;
}

void RegisterDeviceModule(std::u16string_view deviceName, std::string hostObject) {
  std::lock_guard<std::mutex> lock(gMutex);
  gRegistry[DeviceModuleKey(deviceName)] = Registration{std::move(hostObject), nullptr};
}

void RegisterBuiltinDeviceModule(std::u16string_view deviceName,
                                 std::vector<ModuleExport> exports) {
  auto module = std::make_shared<BuiltinModule>(
      BuiltinModule{DeviceModuleKey(deviceName), std::move(exports)});
  std::lock_guard<std::mutex> lock(gMutex);
  gBuiltins.push_back(module);
  gBuiltinHandles.insert(module.get());
  gRegistry[module->key] = Registration{std::string(), module};
}

void AddBuiltinDeviceExports(std::u16string_view deviceName, std::vector<ModuleExport> exports) {
  const std::u16string key = DeviceModuleKey(deviceName);
  std::lock_guard<std::mutex> lock(gMutex);
  auto found = gRegistry.find(key);
  if (found == gRegistry.end() || !found->second.builtin) {
    auto module = std::make_shared<BuiltinModule>(BuiltinModule{key, {}});
    gBuiltins.push_back(module);
    gBuiltinHandles.insert(module.get());
    found = gRegistry.insert_or_assign(key, Registration{std::string(), module}).first;
  }
  std::vector<ModuleExport>& existing = found->second.builtin->exports;
  for (ModuleExport& added : exports) {
    std::erase_if(existing, [&](const ModuleExport& e) { return e.name == added.name; });
    existing.push_back(std::move(added));
  }
}

void UnregisterDeviceModule(std::u16string_view deviceName) {
  std::lock_guard<std::mutex> lock(gMutex);
  gRegistry.erase(DeviceModuleKey(deviceName));
}

HMODULE LoadLibraryW(const char16_t* name) {
  if (name == nullptr || *name == u'\0') return Fail(ERROR_INVALID_PARAMETER);
  const std::u16string_view text(name);
  std::optional<std::string> path = Utf16ToUtf8Strict(text);
  if (!path) return Fail(ERROR_MOD_NOT_FOUND);

  std::lock_guard<std::mutex> lock(gMutex);
  if (path->front() == '/' && access(path->c_str(), F_OK) == 0) {
    HMODULE handle = dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return Fail(ERROR_MOD_NOT_FOUND);
    return CountLoad(handle, std::u16string(text), false);
  }
  const std::u16string key = DeviceModuleKey(text);
  auto found = gRegistry.find(key);
  if (found == gRegistry.end()) return Fail(ERROR_MOD_NOT_FOUND);
  if (found->second.builtin) return CountLoad(found->second.builtin.get(), key, true);
  HMODULE handle = dlopen(found->second.hostObject.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return Fail(ERROR_MOD_NOT_FOUND);
  return CountLoad(handle, key, false);
}

BOOL FreeLibrary(HMODULE module) {
  std::lock_guard<std::mutex> lock(gMutex);
  auto found = gLoaded.find(module);
  if (found == gLoaded.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!found->second.builtin) dlclose(module);  // one dlclose for each dlopen of a load
  if (--found->second.count == 0) gLoaded.erase(found);
  return TRUE;
}

HMODULE GetModuleHandleW(const char16_t* name) {
  if (name == nullptr) {
    static HMODULE const mainProgram = dlopen(nullptr, RTLD_LAZY);
    return mainProgram;
  }
  const std::u16string_view text(name);
  std::optional<std::string> path = Utf16ToUtf8Strict(text);
  if (!path || path->empty()) return Fail(ERROR_MOD_NOT_FOUND);
  const bool hostPath = path->front() == '/' && access(path->c_str(), F_OK) == 0;
  const std::u16string key = hostPath ? std::u16string(text) : DeviceModuleKey(text);
  {
    std::lock_guard<std::mutex> lock(gMutex);
    for (const auto& [handle, loaded] : gLoaded) {
      if (loaded.key == key) return handle;
    }
  }
  if (hostPath) {
    // Loaded by someone else: the loader knows it; the probe's own reference is dropped.
    if (HMODULE handle = dlopen(path->c_str(), RTLD_LAZY | RTLD_NOLOAD)) {
      dlclose(handle);
      return handle;
    }
  }
  return Fail(ERROR_MOD_NOT_FOUND);
}

FARPROC GetProcAddress(HMODULE module, const char* procName) {
  if (module == nullptr || procName == nullptr) {
    SetLastError(module == nullptr ? ERROR_INVALID_HANDLE : ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  {
    std::lock_guard<std::mutex> lock(gMutex);
    if (gBuiltinHandles.count(module) != 0) {
      FARPROC proc = FindBuiltinExport(*static_cast<const BuiltinModule*>(module), procName);
      if (proc == nullptr) SetLastError(ERROR_PROC_NOT_FOUND);
      return proc;
    }
  }
  if (IsOrdinal(procName)) {  // host shared objects export by name only
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* symbol = dlsym(module, procName);
  if (symbol == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

FARPROC GetProcAddressW(HMODULE module, const char16_t* procName) {
  if (procName == nullptr || IsOrdinal(procName)) {
    return GetProcAddress(module, reinterpret_cast<const char*>(procName));
  }
  std::optional<std::string> name = Utf16ToUtf8Strict(procName);
  if (!name) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return GetProcAddress(module, name->c_str());
}

}  // namespace ce

// The parameter store: mode switches, and saving, loading and deleting in either mode.
#include "system/parameter_store.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

#include "frame/raise_error.h"
#include "platform/utf8.h"
#include "system/key_path.h"
#include "system/parameter_names.h"
#include "system/profile_engine.h"
#include "system/registry_errors.h"
#include "system/registry_keys.h"
#include "system/registry_values.h"

namespace tq {
namespace {

constexpr uint32_t kModeRefused = 80700;
constexpr uint32_t kLargeIniFile = 81702;
constexpr int32_t kUnnamed = 79872;
constexpr size_t kLargestQuietIni = 32768;

std::mutex gStoresMutex;
std::map<ComponentProxy*, std::unique_ptr<ParameterStore>> gStores;

bool StartsWith(std::u16string_view s, std::u16string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool IsAbsolute(std::u16string_view location) {
  return StartsWith(location, u"\\") || StartsWith(location, u"/") ||
         (!location.empty() && location.back() == u':');
}

}  // namespace

std::u16string ApplicationPath() {
  const char* app = std::getenv("TQ_APP");
  return app != nullptr && *app != 0 ? ce::Utf8ToUtf16(app) : u"\\Program Files\\App\\App.exe";
}

std::u16string ApplicationFolder() {
  const std::u16string path = ApplicationPath();
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? u"\\" : path.substr(0, slash + 1);
}

std::u16string ApplicationName() {
  std::u16string path = ApplicationPath();
  const size_t slash = path.find_last_of(u"\\/");
  if (slash != std::u16string::npos) path.erase(0, slash + 1);
  const size_t dot = path.rfind(u'.');
  return dot == std::u16string::npos || dot == 0 ? path : path.substr(0, dot);
}

ParameterStore& ParameterStore::Of(ComponentProxy* proxy) {
  std::lock_guard<std::mutex> lock(gStoresMutex);
  std::unique_ptr<ParameterStore>& store = gStores[proxy];
  if (store == nullptr) store = std::make_unique<ParameterStore>();
  return *store;
}

std::u16string ParameterStore::CurrentLocation() const {
  return mode_ == kParameterIniMode ? iniFile_ : registryLocation_;
}

void ParameterStore::Initialise(ComponentProxy* proxy) {
  if (mode_ == kParameterIniMode) {
    const std::u16string& l = iniLocation_;
    std::u16string file;
    if (l.empty()) {
      file = ApplicationFolder() + ApplicationName() + u".ini";
    } else {
      file = IsAbsolute(l) ? l : ApplicationFolder() + l;
      const char16_t last = file.back();
      if (last == u'\\' || last == u'/' || last == u':') {
        file += ApplicationName() + u".ini";
      } else if (file.find(u'.', file.find_last_of(u"\\/:") + 1) == std::u16string::npos) {
        file += u".ini";
      }
    }
    iniFile_ = file;
  } else {
    if (registryLocation_.empty())
      registryLocation_ = u"HKEY_CURRENT_USER\\Software\\" + ApplicationName();
    registrySubPath_ = registryLocation_;
    root_ = ce::HKEY_CURRENT_USER;
    if (StartsWith(registrySubPath_, u"HKEY_CURRENT_USER\\")) {
      registrySubPath_.erase(0, 18);
    } else if (StartsWith(registrySubPath_, u"HKEY_LOCAL_MACHINE\\")) {
      registrySubPath_.erase(0, 19);
      root_ = ce::HKEY_LOCAL_MACHINE;
    }
    ce::HKEY key = nullptr;
    const ce::LONG e =
        ce::RegCreateKeyExW(root_, ParameterGroupKey(registrySubPath_, u"").c_str(), 0, nullptr, 0,
                            ce::KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (e == ce::ERROR_SUCCESS) {
      ce::RegCloseKey(key);
    } else if (proxy != nullptr) {
      RaiseKeyFailure(proxy, registryLocation_, static_cast<uint32_t>(e));
    }
  }
  initialised_ = true;
}

std::optional<std::u16string> ParameterStore::SwitchMode(
    ComponentProxy* proxy, int32_t mode, std::optional<std::u16string_view> location) {
  if (!initialised_) Initialise(nullptr);
  if (mode != kParameterRegistryMode && mode != kParameterIniMode) {
    RaiseError(proxy, kModeRefused, {kUnnamed});
    return std::nullopt;
  }
  const std::u16string previous =
      ce::Utf8ToUtf16(std::to_string(mode_)) + u"\t" + CurrentLocation();
  mode_ = mode;
  if (mode == kParameterIniMode) {
    iniLocation_ = location.value_or(u"");
  } else {
    registryLocation_ = location.value_or(u"");
  }
  Initialise(proxy);
  if (mode == kParameterIniMode) {
    const std::optional<size_t> size = ProfileFileSize(iniFile_);
    if (size && *size > kLargestQuietIni) RaiseError(proxy, kLargeIniFile, {iniFile_});
  }
  return previous;
}

std::u16string ParameterStore::GroupKeyPath(std::u16string_view group) const {
  const std::u16string_view rootName =
      root_ == ce::HKEY_LOCAL_MACHINE ? u"HKEY_LOCAL_MACHINE\\" : u"HKEY_CURRENT_USER\\";
  return std::u16string(rootName) + ParameterGroupKey(registrySubPath_, group);
}

void ParameterStore::Save(ComponentProxy* proxy, std::u16string_view name,
                          std::u16string_view text) {
  if (!initialised_) Initialise(proxy);
  const ParameterName split = SplitParameterName(name);
  if (mode_ == kParameterIniMode) {
    const std::u16string section = ParameterSection(split.group);
    const std::u16string escaped = EscapeParameterText(text);
    if (compareBeforeWriting_ &&
        ProfileEngineRead(section, split.value, kParameterUnset, iniFile_) == escaped)
      return;
    ProfileEngineWrite(section, split.value, escaped, iniFile_);
    return;
  }
  ce::HKEY key = nullptr;
  ce::LONG e = ce::RegCreateKeyExW(root_, ParameterGroupKey(registrySubPath_, split.group).c_str(),
                                   0, nullptr, 0, ce::KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (e == ce::ERROR_SUCCESS) {
    const std::string bytes = StringBytes(text, true);
    e = ce::RegSetValueExW(key, split.value.c_str(), 0, ce::REG_SZ,
                           reinterpret_cast<const ce::BYTE*>(bytes.data()),
                           static_cast<ce::DWORD>(bytes.size()));
    ce::RegCloseKey(key);
  }
  if (e != ce::ERROR_SUCCESS) RaiseKeyFailure(proxy, split.group, static_cast<uint32_t>(e));
}

std::optional<std::u16string> ParameterStore::Load(std::u16string_view name) {
  if (!initialised_) Initialise(nullptr);
  const ParameterName split = SplitParameterName(name);
  if (mode_ == kParameterIniMode) {
    const std::u16string section = ParameterSection(split.group);
    std::u16string text = ProfileEngineRead(section, split.value, kParameterAbsent, iniFile_, 1024);
    if (text.size() == 1023)
      text = ProfileEngineRead(section, split.value, kParameterAbsent, iniFile_, 65536);
    if (text == kParameterAbsent) return std::nullopt;
    return UnescapeParameterText(text);
  }
  const RegistryData data = ReadRegistryValue(GroupKeyPath(split.group), split.value);
  if (!data.read || data.type != ce::REG_SZ || split.value.empty()) return std::nullopt;
  std::u16string text(data.bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(data.bytes[2 * i]) |
                                    static_cast<unsigned char>(data.bytes[2 * i + 1]) << 8);
  const size_t end = text.find(u'\0');
  if (end != std::u16string::npos) text.resize(end);
  return text;
}

bool ParameterStore::DeleteGroup(std::u16string_view group) {
  if (mode_ == kParameterRegistryMode) {
    const std::u16string key = GroupKeyPath(group);
    return !RegistryKeyExists(key) || DeleteRegistryKey(nullptr, key);
  }
  const std::u16string section = ParameterSection(group);
  if (section == u"Global" && group.empty()) return DeleteAll();
  // The section and its subgroups: every section named section + "_" ... (any case).
  std::u16string prefix = section + u"_";
  bool ok = ProfileEngineWrite(section, std::nullopt, std::nullopt, iniFile_);
  const std::u16string list =
      ProfileEngineRead(std::nullopt, std::nullopt, std::nullopt, iniFile_, 1 << 20);
  for (size_t at = 0; at < list.size();) {
    const size_t end = list.find(u"\r\n", at);
    const std::u16string name = list.substr(at, end - at);
    at = end == std::u16string::npos ? list.size() : end + 2;
    if (name.size() < prefix.size()) continue;
    std::u16string head = name.substr(0, prefix.size()), want = prefix;
    for (std::u16string* s : {&head, &want})
      for (char16_t& c : *s)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    if (head == want) ok = ProfileEngineWrite(name, std::nullopt, std::nullopt, iniFile_) && ok;
  }
  return ok;
}

bool ParameterStore::Delete(ComponentProxy* proxy, std::u16string_view name) {
  if (!initialised_) Initialise(proxy);
  if (name.empty()) {
    RaiseError(proxy, 80800, {kUnnamed});
    return false;
  }
  if (Load(name)) {
    const ParameterName split = SplitParameterName(name);
    if (mode_ == kParameterIniMode)
      return ProfileEngineWrite(ParameterSection(split.group), split.value, std::nullopt, iniFile_);
    OpenedKey key(GroupKeyPath(split.group));
    return key && ce::RegDeleteValueW(key.get(), split.value.c_str()) == ce::ERROR_SUCCESS;
  }
  std::u16string group(name);
  for (char16_t& c : group)
    if (c == u'.' || c == u'/') c = u'\\';
  return DeleteGroup(group);
}

bool ParameterStore::DeleteAll() {
  if (!initialised_) Initialise(nullptr);
  if (mode_ == kParameterIniMode) return !ProfileFileSize(iniFile_) || ProfileFileDelete(iniFile_);
  const std::u16string key = GroupKeyPath(u"");
  return !RegistryKeyExists(key) || DeleteRegistryKey(nullptr, key);
}

}  // namespace tq

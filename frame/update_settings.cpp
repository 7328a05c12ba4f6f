// Reading and writing the update settings in the registry.
#include "frame/update_settings.h"

#include <cstring>
#include <vector>

#include "frame/raise_error.h"
#include "frame/update_names.h"
#include "platform/registry.h"

namespace tq {
namespace {

// An open registry key, closed at the end of the scope.
class OpenKey {
 public:
  OpenKey(std::u16string_view path, bool forWriting) {
    const std::u16string text(path);
    status_ = forWriting ? ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, text.c_str(), 0, nullptr,
                                               ce::REG_OPTION_NON_VOLATILE, ce::KEY_SET_VALUE,
                                               nullptr, &key_, nullptr)
                         : ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, text.c_str(), 0,
                                             ce::KEY_QUERY_VALUE, &key_);
  }
  ~OpenKey() {
    if (status_ == 0) ce::RegCloseKey(key_);
  }
  ce::LONG status() const { return status_; }
  ce::HKEY key() const { return key_; }

 private:
  ce::HKEY key_ = nullptr;
  ce::LONG status_ = 0;
};

}  // namespace

UpdateTarget UpdateTargetFor(const char16_t* executablePath) {
  UpdateTarget target;
  target.executable = executablePath != nullptr && *executablePath != u'\0'
                          ? std::u16string(executablePath).substr(0, kSettingCharacters)
                          : RunningExecutablePath();
  target.application = ApplicationName(target.executable);
  target.keyPath = ApplicationKeyPath(target.application);
  return target;
}

std::optional<std::u16string> ReadUpdateSetting(ComponentProxy* proxy, const UpdateTarget& target,
                                                std::u16string_view name, size_t characters) {
  OpenKey key(target.keyPath, false);
  ce::LONG status = key.status();
  std::vector<char16_t> buffer(characters, u'\0');
  if (status == 0) {
    const std::u16string valueName(name);
    ce::DWORD type = 0;
    ce::DWORD size = static_cast<ce::DWORD>(characters * sizeof(char16_t));
    status = ce::RegQueryValueExW(key.key(), valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<ce::BYTE*>(buffer.data()), &size);
  }
  if (status != 0) {
    RaiseError(proxy, 81633, {target.keyPath});
    RecordSystemError(proxy, static_cast<uint32_t>(status));
    return std::nullopt;
  }
  buffer.back() = u'\0';  // a value stored without its terminator stays inside the buffer
  return std::u16string(buffer.data());
}

bool WriteUpdateSetting(ComponentProxy* proxy, const UpdateTarget& target,
                        std::u16string_view name, std::u16string_view value) {
  OpenKey key(target.keyPath, true);
  ce::LONG status = key.status();
  if (status == 0) {
    const std::u16string valueName(name), data(value);
    status = ce::RegSetValueExW(key.key(), valueName.c_str(), 0, ce::REG_SZ,
                                reinterpret_cast<const ce::BYTE*>(data.c_str()),
                                static_cast<ce::DWORD>((data.size() + 1) * sizeof(char16_t)));
  }
  if (status != 0) {
    RaiseError(proxy, 81634, {target.keyPath});
    RecordSystemError(proxy, static_cast<uint32_t>(status));
    return false;
  }
  return true;
}

std::optional<uint32_t> ReadUpdateSwitch(const UpdateTarget& target) {
  OpenKey key(target.keyPath, false);
  if (key.status() != 0) return std::nullopt;
  ce::BYTE data[4] = {0, 0, 0, 0};
  ce::DWORD size = sizeof data;
  if (ce::RegQueryValueExW(key.key(), u"UPDATE_HTTP", nullptr, nullptr, data, &size) != 0)
    return std::nullopt;
  uint32_t word;
  std::memcpy(&word, data, sizeof word);
  return word;
}

}  // namespace tq

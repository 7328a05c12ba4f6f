// Power timeouts in the registry, read and written as REG_DWORD values.
#include "system/power_timeouts.h"

#include "frame/raise_error.h"
#include "platform/registry.h"
#include "platform/window_manager.h"
#include "system/system_failure.h"

namespace tq {
namespace {

constexpr uint32_t kOutOfRange = 80145;
constexpr char16_t kPowerKey[] = u"SYSTEM\\CurrentControlSet\\Control\\Power";
constexpr char16_t kTimeoutsKey[] = u"SYSTEM\\CurrentControlSet\\Control\\Power\\Timeouts";
constexpr ce::REGSAM kQueryAndSet = 3;

class Key {
 public:
  Key() = default;
  ~Key() {
    if (handle_ != nullptr) ce::RegCloseKey(handle_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ce::LONG Open(const char16_t* path) {
    return ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, path, 0, kQueryAndSet, &handle_);
  }
  ce::HKEY get() const { return handle_; }

 private:
  ce::HKEY handle_ = nullptr;
};

ce::LONG ReadDword(ce::HKEY key, const char16_t* name, ce::DWORD* value) {
  ce::DWORD type = 0, size = sizeof *value;
  const ce::LONG status =
      ce::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<ce::BYTE*>(value), &size);
  if (status == ce::ERROR_SUCCESS && (type != ce::REG_DWORD || size != sizeof *value)) {
    return static_cast<ce::LONG>(ce::ERROR_INVALID_DATA);
  }
  return status;
}

// Reads (and, with `replacement`, then writes) the selected timeout; a registry status on
// failure.
ce::LONG AccessTimeout(int32_t source, const ce::DWORD* replacement, ce::DWORD* value) {
  Key power, timeouts;
  ce::LONG status = power.Open(kPowerKey);
  if (status != ce::ERROR_SUCCESS) return status;
  ce::DWORD suspend = 0;
  status = ReadDword(power.get(), u"DisableGwesPowerOff", &suspend);
  if (status != ce::ERROR_SUCCESS) return status;
  ce::HKEY key = power.get();
  const char16_t* name = source == 1 ? u"BattPowerOff" : u"ExtPowerOff";
  if (suspend != 0) {
    status = timeouts.Open(kTimeoutsKey);
    if (status != ce::ERROR_SUCCESS) return status;
    key = timeouts.get();
    name = source == 1 ? u"BattSuspendTimeout" : u"ACSuspendTimeout";
  }
  status = ReadDword(key, name, value);
  if (status != ce::ERROR_SUCCESS || replacement == nullptr) return status;
  return ce::RegSetValueExW(key, name, 0, ce::REG_DWORD,
                            reinterpret_cast<const ce::BYTE*>(replacement), sizeof *replacement);
}

}  // namespace

int32_t PowerTimeout(ComponentProxy* proxy, int32_t source, int32_t timeout) {
  if (source != 1 && source != 2) {
    RaiseError(proxy, kOutOfRange, {int32_t{0}});
    return -1;
  }
  if (timeout < 0 && timeout != kReadOnlyTimeout) {
    RaiseError(proxy, kOutOfRange, {timeout});
    return -1;
  }
  const ce::DWORD replacement = static_cast<ce::DWORD>(timeout);
  ce::DWORD value = 0;
  const ce::LONG status = AccessTimeout(source, timeout >= 0 ? &replacement : nullptr, &value);
  if (status != ce::ERROR_SUCCESS) {
    ReportSystemFailure(proxy, static_cast<uint32_t>(status));
    return -1;
  }
  if (timeout >= 0) {
    // The power manager reloads its timeouts when told that the settings changed.
    ce::SendMessageW(ce::HWND_BROADCAST, ce::WM_SETTINGCHANGE, 0, 0);
  }
  return static_cast<int32_t>(value);
}

bool ExternalPowerTimeoutSet(ComponentProxy* proxy) {
  ce::DWORD value = 0;
  const ce::LONG status = AccessTimeout(2, nullptr, &value);
  if (status != ce::ERROR_SUCCESS) {
    ReportSystemFailure(proxy, static_cast<uint32_t>(status));
    return false;
  }
  return value != 0;
}

}  // namespace tq

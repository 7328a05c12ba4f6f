// Power actions through the core library's entry points, looked up by name.
#include "system/power_actions.h"

#include "frame/raise_error.h"
#include "platform/device_modules.h"
#include "platform/last_error.h"
#include "platform/modules.h"
#include "platform/power.h"
#include "system/system_failure.h"

namespace tq {
namespace {

constexpr uint32_t kOutOfRange = 80145;
constexpr ce::DWORD kPowerStateFlags[] = {0x100000, 0x10000};  // actions 4 and 5

}  // namespace

bool PowerAction(ComponentProxy* proxy, int32_t action) {
  if (action < 2 || action > 5) {
    RaiseError(proxy, kOutOfRange, {action});
    return false;
  }
  ce::RegisterDeviceSystemModules();
  ce::HMODULE core = ce::LoadLibraryW(u"coredll.dll");
  if (core == nullptr) return false;
  bool succeeded = true;
  if (action == 2) {
    if (auto off = reinterpret_cast<decltype(&ce::GwesPowerOffSystem)>(
            ce::GetProcAddressW(core, u"GwesPowerOffSystem"))) {
      off();
    }
  } else if (action == 3) {
    if (auto control = reinterpret_cast<decltype(&ce::KernelIoControl)>(
            ce::GetProcAddressW(core, u"KernelIoControl"))) {
      control(ce::IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, nullptr);
    }
  } else if (auto setState = reinterpret_cast<decltype(&ce::SetSystemPowerState)>(
                 ce::GetProcAddressW(core, u"SetSystemPowerState"))) {
    const ce::DWORD result = setState(nullptr, kPowerStateFlags[action - 4], 0);
    if (result != ce::ERROR_SUCCESS) {
      ReportSystemFailure(proxy, result);
      succeeded = false;
    }
  }
  ce::FreeLibrary(core);
  return succeeded;
}

}  // namespace tq

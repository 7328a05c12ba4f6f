// The power-off timeouts under HKEY_LOCAL_MACHINE "SYSTEM\CurrentControlSet\Control\Power":
// source 1 is the battery, source 2 external power. When the Power key's DWORD
// "DisableGwesPowerOff" is non-zero the timeouts are the suspend timeouts of its "Timeouts"
// subkey ("BattSuspendTimeout", "ACSuspendTimeout"), otherwise the Power key's own
// "BattPowerOff" and "ExtPowerOff".
#pragma once

#include <cstdint>

#include "frame/component_proxy.h"

namespace tq {

inline constexpr int32_t kReadOnlyTimeout = -10;

// The timeout of `source`; with `timeout` >= 0 it is replaced afterwards (and the change
// announced), -10 only reads. 80145 and -1 for another source or timeout; a registry failure
// is a system failure and gives -1.
int32_t PowerTimeout(ComponentProxy* proxy, int32_t source, int32_t timeout = kReadOnlyTimeout);
// Whether the external-power timeout is set (non-zero); a system failure gives false.
bool ExternalPowerTimeoutSet(ComponentProxy* proxy);

}  // namespace tq

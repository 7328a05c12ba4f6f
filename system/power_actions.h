// Power actions: 2 powers the device off, 3 restarts it, 4 and 5 set the power states whose
// flags are 0x100000 and 0x10000.
#pragma once

#include <cstdint>

#include "frame/component_proxy.h"

namespace tq {

// False with 80145 for another action, false when the core library cannot be loaded, false
// after a system failure of the power-state call; true otherwise (a missing entry point is
// skipped).
bool PowerAction(ComponentProxy* proxy, int32_t action);

}  // namespace tq

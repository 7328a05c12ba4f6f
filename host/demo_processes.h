// The processes section of tq240 demo: programs started from the device root, the device's
// process table, a shared zone, and shortcuts.
#pragma once

#include "host/call_runner.h"

namespace tqhost {

void RunProcessesDemo(CallRunner& runner);

}  // namespace tqhost

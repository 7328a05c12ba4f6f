// The device section of tq240 demo: device and system information, the clipboard, the
// display, and keyboard emulation with what reached the device's input log.
#pragma once

#include "host/call_runner.h"

namespace tqhost {

void RunDeviceDemo(CallRunner& runner);

}  // namespace tqhost

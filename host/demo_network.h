// The network section of `tq240 demo`, with its own loopback web server.
#pragma once

#include "host/call_runner.h"

namespace tqhost {

void RunNetworkDemo(CallRunner& runner);

}  // namespace tqhost

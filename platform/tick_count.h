// The device's millisecond tick counter and Sleep.
//
// Invariants: GetTickCount counts milliseconds of the host's monotonic clock, so it never goes
// back and does not follow changes of the device clock (nor a frozen clock); it is 32 bits wide
// and wraps to 0 after about 49.7 days, as on the device. Callers compute elapsed time with
// unsigned subtraction.
#pragma once

#include "platform/windows_types.h"

namespace ce {

DWORD GetTickCount();

// Suspends the calling thread for at least `milliseconds`; 0 gives up the rest of the time
// slice; INFINITE never returns.
void Sleep(DWORD milliseconds);

}  // namespace ce

// The calling thread's last error, as the device keeps it, and the translation of the host's
// errno values into the device's error codes.
//
// Invariants: the last error is per thread and is only changed by SetLastError (the layer's
// calls use it when they fail; success leaves it alone unless a call documents otherwise).
// Every errno value translates to some device code; values without a closer equivalent give
// ERROR_GEN_FAILURE.
#pragma once

#include "platform/windows_types.h"

namespace ce {

DWORD GetLastError();
void SetLastError(DWORD code);

// The device code for a failed file, process or memory call that left `errnoValue`. Errors
// that only sockets produce (ECONNREFUSED, ENOTSOCK, ...) give the socket codes (WSAE...).
DWORD Win32ErrorFromErrno(int errnoValue);

// The device code for a failed socket call: the socket codes (WSAEINTR, WSAEWOULDBLOCK, ...)
// where the device's socket layer has one, otherwise as Win32ErrorFromErrno.
DWORD WsaErrorFromErrno(int errnoValue);

// Stores the translation of errno (or of the given value) as the last error and returns it.
DWORD SetLastErrorFromErrno();
DWORD SetLastErrorFromErrno(int errnoValue);

}  // namespace ce

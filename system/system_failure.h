// How the device functions report a failed system call: the system's error code (a last-error
// value or a shell HRESULT) and its text go into the error state, without an error number of
// the library's own, and the level becomes 2 so that the VM sees the failure.
#pragma once

#include <cstdint>

#include "frame/component_proxy.h"
#include "frame/error_state.h"

namespace tq {

inline constexpr uint32_t kSystemFailureLevel = 2;

inline void ReportSystemFailure(ComponentProxy* proxy, uint32_t code) {
  CXError* state = ErrorStateOf(proxy);
  Reset(state);
  RecordSystemError(state, code);
  state->level = kSystemFailureLevel;
}

}  // namespace tq

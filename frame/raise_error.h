// How families report failures: RaiseError resets the proxy's error state and records the
// numbered error with the inserts of its message. Workers call it and return their default
// result; the entry still calls SetResult.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "frame/component_proxy.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"
#include "frame/message_args.h"

namespace tq {

inline void RaiseError(ComponentProxy* proxy, uint32_t errorId,
                       std::initializer_list<MessageArg> args = {}) {
  Raise(ErrorStateOf(proxy), ThisLibrary(), errorId, MessageArgs(args.begin(), args.size()));
}

// Records the platform's error code (and its text) on the proxy's error state.
inline void RecordSystemError(ComponentProxy* proxy, uint32_t code) {
  RecordSystemError(ErrorStateOf(proxy), code);
}

}  // namespace tq

// The device's local heap calls: the memory that calls such as FormatMessageW allocate for
// their caller, who gives it back with LocalFree.
//
// Invariants: a block from LocalAlloc stays valid until LocalFree; LocalFree(nullptr) is a
// no-op. Blocks come from the C heap, so the sanitizers see leaks and double frees.
#pragma once

#include <cstddef>

#include "platform/windows_types.h"

namespace ce {

// LMEM_FIXED (optionally | LMEM_ZEROINIT) only: the returned handle is the block's address.
// Other flags fail with ERROR_INVALID_PARAMETER; exhaustion with ERROR_NOT_ENOUGH_MEMORY.
HLOCAL LocalAlloc(UINT flags, size_t bytes);

// Returns nullptr on success, as the device does.
HLOCAL LocalFree(HLOCAL block);

}  // namespace ce

// Local heap blocks over malloc/free.
#include "platform/local_memory.h"

#include <cstdlib>
#include <cstring>

#include "platform/last_error.h"

namespace ce {

HLOCAL LocalAlloc(UINT flags, size_t bytes) {
  if ((flags & ~LMEM_ZEROINIT) != LMEM_FIXED) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // A zero-byte request still yields a distinct block, as on the device.
  void* block =
      (flags & LMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
  if (block == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return block;
}

HLOCAL LocalFree(HLOCAL block) {
  std::free(block);
  return nullptr;
}

}  // namespace ce

// Allocating buffer values through the VM's allocator.
#include "services/vm_buffer.h"

#include <cstring>

namespace tq {

uint8_t* NewBuffer(VMString& s, size_t size) {
  Release(s);
  static uint8_t empty = 0;
  if (size == 0) return &empty;
  if (size > kVMStringMaxCharacters * 2) return nullptr;
  VMObject* allocator = CurrentAllocator();
  if (allocator == nullptr) return nullptr;
  const uint32_t bytes = static_cast<uint32_t>(size);
  VMString fresh;
  if (CallSlot<int32_t>(allocator, vmallocator::kAllocate, &fresh, bytes, 0) != 0 ||
      fresh.chars == nullptr)
    return nullptr;
  uint8_t* data = reinterpret_cast<uint8_t*>(fresh.chars);
  std::memset(data + size, 0, 2);
  HeaderOf(fresh.chars)->lengthBytes = bytes;
  s = fresh;
  return data;
}

}  // namespace tq

// Buffers as they cross the VM border: a buffer value (type code 28) is a VMString whose
// header length counts bytes, so a buffer may hold an odd number of bytes. As for texts, the
// empty buffer is the null VMString, and the bytes are followed by a 16-bit zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "frame/vm_string.h"

namespace tq {

inline constexpr uint32_t kBufferTypeCode = 28;

// The bytes of a buffer value (empty for the null string).
inline std::span<const uint8_t> BufferBytes(const VMString& s) {
  if (s.chars == nullptr) return {};
  return {reinterpret_cast<const uint8_t*>(s.chars), HeaderOf(s.chars)->lengthBytes};
}

// Replaces `s` by a fresh buffer of `size` bytes (content unspecified, terminator written)
// from the VM's allocator and returns where its bytes go; a size of 0 makes `s` null and
// returns a pointer that must not be written through. Null when the allocator refuses.
uint8_t* NewBuffer(VMString& s, size_t size);

}  // namespace tq

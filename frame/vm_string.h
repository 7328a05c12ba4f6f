// VMString: the VM's reference-counted UTF-16 string. One pointer to the first character;
// null is the empty string. The 12 bytes in front of the characters are the header:
//   -12 reference count (signed 32-bit, changed atomically)
//    -8 capacity in bytes
//    -4 length in bytes, terminator excluded
// The text is followed by a 16-bit zero. Buffers come from the VMAllocator only, because the
// VM frees the strings the library returns and the library frees those the VM passes.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/vm_object.h"

namespace tq {

struct VMString {
  char16_t* chars = nullptr;
};

inline constexpr uint32_t kVMStringHeaderBytes = 12;
inline constexpr int64_t kVMStringMaxCharacters = 0x7fffff00 - 1;

// Value-layer result codes.
inline constexpr int32_t kValueOk = 0;
inline constexpr int32_t kValueNotSupported = 105;
inline constexpr int32_t kValueTooLong = 108;

// VMAllocator operation numbers (the VM's allocator object, VM service 13).
namespace vmallocator {
inline constexpr int kFree = 3;        // (characters pointer) -> 0
inline constexpr int kAllocate = 4;    // (VMString*, byte count, 0) -> 0 or error code
inline constexpr int kReallocate = 5;  // (VMString*, byte count, 0) -> 0 or error code
}  // namespace vmallocator

struct VMStringHeader {
  int32_t references;
  uint32_t capacityBytes;
  uint32_t lengthBytes;
};

inline VMStringHeader* HeaderOf(char16_t* chars) {
  return reinterpret_cast<VMStringHeader*>(reinterpret_cast<char*>(chars) - kVMStringHeaderBytes);
}
inline const VMStringHeader* HeaderOf(const char16_t* chars) {
  return reinterpret_cast<const VMStringHeader*>(reinterpret_cast<const char*>(chars) -
                                                 kVMStringHeaderBytes);
}

inline size_t Length(const VMString& s) { return s.chars ? HeaderOf(s.chars)->lengthBytes / 2 : 0; }
inline std::u16string_view View(const VMString& s) { return {s.chars ? s.chars : u"", Length(s)}; }

// The allocator used by the operations below: the VM's, stored at execution start.
VMObject* CurrentAllocator();
void SetAllocator(VMObject* allocator);

// Assigns `count` characters (-1: up to the terminator). A null or empty source makes the
// string null. Reuses the buffer when it is unshared and large enough. Returns 0, 108 for a
// length out of range, or the allocator's error code (the string is then unchanged).
int32_t Assign(VMString& s, const char16_t* text, int64_t count = -1);
inline int32_t Assign(VMString& s, std::u16string_view text) {
  return Assign(s, text.data(), static_cast<int64_t>(text.size()));
}
// Shares `from`'s buffer (one more reference).
void Share(VMString& s, const VMString& from);
// Drops this reference; frees the buffer at the last one; s becomes null in every case.
void Release(VMString& s);

// A VMString owned by one scope, released on exit: the entries' local result strings.
class LocalString {
 public:
  LocalString() = default;
  LocalString(const LocalString&) = delete;
  LocalString& operator=(const LocalString&) = delete;
  ~LocalString() { Release(value_); }
  VMString& get() { return value_; }
  VMString* address() { return &value_; }
  int32_t assign(std::u16string_view text) { return Assign(value_, text); }

 private:
  VMString value_;
};

}  // namespace tq

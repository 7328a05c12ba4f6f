// VMString operations over the VM's allocator. Reference counts change atomically because the
// VM may share a string with its other threads.
#include "frame/vm_string.h"

#include <atomic>
#include <cstring>

#include "frame/text.h"

namespace tq {
namespace {

std::atomic<VMObject*> gAllocator{nullptr};

std::atomic_ref<int32_t> Count(char16_t* chars) {
  return std::atomic_ref<int32_t>(HeaderOf(chars)->references);
}

}  // namespace

VMObject* CurrentAllocator() { return gAllocator.load(std::memory_order_acquire); }
void SetAllocator(VMObject* allocator) { gAllocator.store(allocator, std::memory_order_release); }

int32_t Assign(VMString& s, const char16_t* text, int64_t count) {
  if (text == nullptr || count == 0) {
    Release(s);
    return kValueOk;
  }
  const int64_t n = count < 0 ? static_cast<int64_t>(TextLength(text)) : count;
  if (n == 0) {
    Release(s);
    return kValueOk;
  }
  if (n > kVMStringMaxCharacters) return kValueTooLong;
  const uint32_t bytes = static_cast<uint32_t>(n * 2);
  VMObject* allocator = CurrentAllocator();
  if (allocator == nullptr) return kValueNotSupported;

  const bool owned = s.chars != nullptr && Count(s.chars).load() < 2;
  if (owned && HeaderOf(s.chars)->capacityBytes >= bytes) {
    // In place; memmove because the source may lie inside this very buffer.
    std::memmove(s.chars, text, bytes);
  } else if (owned) {
    // The source may lie inside the buffer that reallocation moves: keep a copy first.
    const bool inside = text >= s.chars && text < s.chars + Length(s) + 1;
    std::u16string saved = inside ? std::u16string(text, static_cast<size_t>(n)) : u"";
    int32_t code = CallSlot<int32_t>(allocator, vmallocator::kReallocate, &s, bytes, 0);
    if (code != 0) return code;
    std::memcpy(s.chars, inside ? saved.data() : text, bytes);
  } else {
    VMString fresh;
    int32_t code = CallSlot<int32_t>(allocator, vmallocator::kAllocate, &fresh, bytes, 0);
    if (code != 0) return code;
    std::memcpy(fresh.chars, text, bytes);
    Release(s);
    s = fresh;
  }
  s.chars[n] = 0;
  HeaderOf(s.chars)->lengthBytes = bytes;
  return kValueOk;
}

void Share(VMString& s, const VMString& from) {
  if (s.chars == from.chars) return;
  if (from.chars != nullptr) Count(from.chars).fetch_add(1);
  Release(s);
  s.chars = from.chars;
}

void Release(VMString& s) {
  char16_t* chars = s.chars;
  s.chars = nullptr;
  if (chars == nullptr) return;
  // A count of 1 is this holder's alone: no other holder exists that could change it, so the
  // last release (the common case: a call's own result) needs no atomic exchange.
  std::atomic_ref<int32_t> count = Count(chars);
  if (count.load(std::memory_order_acquire) == 1 || count.fetch_sub(1) == 1) {
    VMObject* allocator = CurrentAllocator();
    if (allocator != nullptr) CallSlot<int32_t>(allocator, vmallocator::kFree, chars);
  }
}

}  // namespace tq

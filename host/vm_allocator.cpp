// The VM's allocator for VMStrings. A buffer is one heap block: the 12-byte header (count,
// capacity, length), the characters, and room for the terminator.
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "frame/vm_string.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

std::atomic<int64_t> gLive{0};

char* BlockOf(char16_t* chars) { return reinterpret_cast<char*>(chars) - tq::kVMStringHeaderBytes; }

int32_t Free(tq::VMObject*, char16_t* chars) {
  if (chars == nullptr) return 0;
  std::free(BlockOf(chars));
  --gLive;
  return 0;
}

int32_t Allocate(tq::VMObject*, tq::VMString* s, uint32_t bytes, int32_t) {
  if (bytes >= 0xfffffff0u - tq::kVMStringHeaderBytes) return 108;
  char* block = static_cast<char*>(std::malloc(tq::kVMStringHeaderBytes + bytes + 2));
  if (block == nullptr) return 8;  // not enough memory
  auto* header = reinterpret_cast<tq::VMStringHeader*>(block);
  header->references = 1;
  header->capacityBytes = bytes;
  header->lengthBytes = 0;
  s->chars = reinterpret_cast<char16_t*>(block + tq::kVMStringHeaderBytes);
  s->chars[0] = 0;
  ++gLive;
  return 0;
}

int32_t Reallocate(tq::VMObject* self, tq::VMString* s, uint32_t bytes, int32_t reserved) {
  if (s->chars == nullptr) return Allocate(self, s, bytes, reserved);
  if (bytes >= 0xfffffff0u - tq::kVMStringHeaderBytes) return 108;
  char* block = static_cast<char*>(
      std::realloc(BlockOf(s->chars), tq::kVMStringHeaderBytes + bytes + 2));
  if (block == nullptr) return 8;
  auto* header = reinterpret_cast<tq::VMStringHeader*>(block);
  header->capacityBytes = bytes;
  if (header->lengthBytes > bytes) header->lengthBytes = bytes;
  s->chars = reinterpret_cast<char16_t*>(block + tq::kVMStringHeaderBytes);
  s->chars[header->lengthBytes / 2] = 0;
  return 0;
}

int32_t Unused(tq::VMObject*) { return 0; }

void* const kAllocatorTable[] = {
    reinterpret_cast<void*>(&Unused),   reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused),   reinterpret_cast<void*>(&Free),
    reinterpret_cast<void*>(&Allocate), reinterpret_cast<void*>(&Reallocate),
};

tq::VMObject gAllocator{kAllocatorTable};

}  // namespace

tq::VMObject* Allocator() { return &gAllocator; }
int64_t LiveStringCount() { return gLive.load(); }

}  // namespace tqhost

// The VM's allocator for VMStrings. A buffer is one heap block: the 12-byte header (count,
// capacity, length), the characters, and room for the terminator.
//
// Each thread keeps the last small block it freed and hands it out again for the next string
// that fits, as the VM's own pools do: a loop of calls that each return a text then costs no
// heap call. Under the address sanitizer every block goes back to the heap, so that a string
// used after its release is still caught.
#include <cstdlib>
#include <cstring>

#include "frame/address_sanitizer.h"
#include "frame/vm_string.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

char* BlockOf(char16_t* chars) { return reinterpret_cast<char*>(chars) - tq::kVMStringHeaderBytes; }

// Larger blocks go back to the heap at once.
constexpr size_t kCachedBlockLimit = tq::kAddressSanitizer ? 0 : 256;

// The thread's spare block, freed with the thread.
struct SpareBlock {
  char* block = nullptr;
  size_t size = 0;  // bytes
  ~SpareBlock() { std::free(block); }
};
thread_local SpareBlock tSpare;

int32_t Free(tq::VMObject*, char16_t* chars) {
  if (chars == nullptr) return 0;
  char* block = BlockOf(chars);
  // The block holds the header, the capacity and the terminator (Allocate and Reallocate
  // keep the capacity exact).
  const size_t size = tq::kVMStringHeaderBytes + tq::HeaderOf(chars)->capacityBytes + 2;
  if (tSpare.block == nullptr && size <= kCachedBlockLimit && size > 0) {
    tSpare.block = block;
    tSpare.size = size;
  } else {
    std::free(block);
  }
  return 0;
}

// A block of at least `bytes`: the thread's spare one when it is large enough.
char* TakeBlock(size_t bytes) {
  if (tSpare.block != nullptr && tSpare.size >= bytes) {
    char* block = tSpare.block;
    tSpare.block = nullptr;
    return block;
  }
  return static_cast<char*>(std::malloc(bytes));
}

int32_t Allocate(tq::VMObject*, tq::VMString* s, uint32_t bytes, int32_t) {
  if (bytes >= 0xfffffff0u - tq::kVMStringHeaderBytes) return 108;
  char* block = TakeBlock(tq::kVMStringHeaderBytes + bytes + 2);
  if (block == nullptr) return 8;  // not enough memory
  auto* header = reinterpret_cast<tq::VMStringHeader*>(block);
  header->references = 1;
  header->capacityBytes = bytes;
  header->lengthBytes = 0;
  s->chars = reinterpret_cast<char16_t*>(block + tq::kVMStringHeaderBytes);
  s->chars[0] = 0;
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

}  // namespace tqhost

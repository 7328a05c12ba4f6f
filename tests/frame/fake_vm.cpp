// The fake VM's objects and exports.
#include "tests/frame/fake_vm.h"

#include <dlfcn.h>

#include <array>
#include <cstdlib>
#include <cstring>

#include "frame/call_context.h"
#include "frame/vm_string.h"

namespace fakevm {
namespace {

int gLive = 0;
std::vector<intptr_t> gQueried;
RecordedResult gResult;
int gConversions = 0;
int gFinishes = 0;
int32_t gLanguage = 9;

int32_t Unused(tq::VMObject*) { return 0; }

int32_t Free(tq::VMObject*, char16_t* chars) {
  std::free(reinterpret_cast<char*>(chars) - tq::kVMStringHeaderBytes);
  --gLive;
  return 0;
}
int32_t Allocate(tq::VMObject*, tq::VMString* s, uint32_t bytes, int32_t) {
  char* block = static_cast<char*>(std::malloc(tq::kVMStringHeaderBytes + bytes + 2));
  auto* h = reinterpret_cast<tq::VMStringHeader*>(block);
  h->references = 1;
  h->capacityBytes = bytes;
  h->lengthBytes = 0;
  s->chars = reinterpret_cast<char16_t*>(block + tq::kVMStringHeaderBytes);
  ++gLive;
  return 0;
}
int32_t Reallocate(tq::VMObject*, tq::VMString* s, uint32_t bytes, int32_t) {
  char* block = static_cast<char*>(
      std::realloc(reinterpret_cast<char*>(s->chars) - tq::kVMStringHeaderBytes,
                   tq::kVMStringHeaderBytes + bytes + 2));
  reinterpret_cast<tq::VMStringHeader*>(block)->capacityBytes = bytes;
  s->chars = reinterpret_cast<char16_t*>(block + tq::kVMStringHeaderBytes);
  return 0;
}
void* const kAllocatorTable[] = {
    reinterpret_cast<void*>(&Unused),   reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused),   reinterpret_cast<void*>(&Free),
    reinterpret_cast<void*>(&Allocate), reinterpret_cast<void*>(&Reallocate)};
tq::VMObject gAllocator{kAllocatorTable};

intptr_t Register(tq::VMObject*, intptr_t, void*) { return 77; }
void* const kServicesObjectTable[] = {
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Register)};
tq::VMObject gServicesObject{kServicesObjectTable};

int32_t SetResult(tq::VMObject*, uint32_t callWord, const void* storage, uint32_t code) {
  ++gResult.calls;
  gResult.callWord = callWord;
  gResult.typeCode = code;
  gResult.storage = storage;
  return 0;
}
std::array<void*, tq::vmservice::kSlotCount> MakeServices() {
  std::array<void*, tq::vmservice::kSlotCount> t{};
  t.fill(reinterpret_cast<void*>(&Unused));
  t[tq::vmservice::kSetResult] = reinterpret_cast<void*>(&SetResult);
  return t;
}
const auto kServicesTable = MakeServices();
tq::VMObject gServices{kServicesTable.data()};

}  // namespace

tq::VMObject* Allocator() { return &gAllocator; }
int LiveStrings() { return gLive; }
std::vector<intptr_t>& QueriedServices() { return gQueried; }
void ResetQueries() { gQueried.clear(); }
tq::VMObject* ServicesObject() { return &gServicesObject; }
tq::VMObject* Services() { return &gServices; }
RecordedResult& LastResult() { return gResult; }
int ConversionCalls() { return gConversions; }
int FinishCalls() { return gFinishes; }
void* Module() {
  static void* self = dlopen(nullptr, RTLD_NOW);
  return self;
}

}  // namespace fakevm

#define FAKE_VM_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_VM_EXPORT intptr_t Execution(int32_t code, intptr_t service) {
  if (code != 3053) return 0;
  fakevm::gQueried.push_back(service);
  switch (service) {
    case 2: return 9;
    case 7: return reinterpret_cast<intptr_t>(&fakevm::gServicesObject);
    case 13: return reinterpret_cast<intptr_t>(&fakevm::gAllocator);
    case 18: return reinterpret_cast<intptr_t>(&fakevm::gLanguage);
    case 8: return 5;
    default: return 0;
  }
}

FAKE_VM_EXPORT void* pQueryProxy(int32_t) { return nullptr; }

// Converts 4-byte integers to reals and back; anything else fails with 101.
FAKE_VM_EXPORT int32_t nConversionDepassementExt(const void* payload, int32_t from, void* result,
                                                 int32_t to, int32_t, int32_t) {
  ++fakevm::gConversions;
  if ((from & 0xff) == 8 && (to & 0xff) == 12) {
    int32_t n;
    std::memcpy(&n, payload, 4);
    const double x = n;
    std::memcpy(result, &x, 8);
    return 0;
  }
  if ((from & 0xff) == 12 && (to & 0xff) == 8) {
    double x;
    std::memcpy(&x, payload, 8);
    const int32_t n = static_cast<int32_t>(x);
    std::memcpy(result, &n, 4);
    return n == x ? 0 : 1;  // 1: the value lost its fraction
  }
  return 101;
}

FAKE_VM_EXPORT int32_t FinConversion(void*, int32_t, int32_t, int32_t) {
  ++fakevm::gFinishes;
  return 0;
}

// A minimal VM for the frame's unit tests: an allocator for VMStrings that counts live buffers,
// the exported service query and conversion entry points (found by name in the test
// executable), a services object, and a VMServices object that records SetResult.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/vm_object.h"

namespace fakevm {

tq::VMObject* Allocator();
int LiveStrings();

// The services the library asked the VM's "Execution" export for, in order.
std::vector<intptr_t>& QueriedServices();
void ResetQueries();

// What the services object's registration (operation 10) was given.
tq::VMObject* ServicesObject();

// A VMServices object that records the last SetResult.
struct RecordedResult {
  int calls = 0;
  uint32_t callWord = 0;
  uint32_t typeCode = 0;
  const void* storage = nullptr;
};
tq::VMObject* Services();
RecordedResult& LastResult();

// Counts of the conversion entry points' calls.
int ConversionCalls();
int FinishCalls();

// The VM module handle (this executable) as the library looks exports up in it.
void* Module();

}  // namespace fakevm

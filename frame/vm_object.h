// Objects that cross the border between the VM and the library are called by slot: their
// first word points to a behaviour table of function pointers, and each operation receives
// the object itself first. VMObject is that shape seen from the caller's side; CallSlot calls
// operation `slot` with the given arguments.
//
// Objects the library defines (ComponentProxy, CXError, the random-number proxy, the type
// handlers) have typed tables of their own; VMObject serves the VM's objects, whose tables the
// library only reads.
#pragma once

#include <cstdint>

namespace tq {

struct VMObject {
  void* const* slots;  // the behaviour table
};

template <typename Result, typename... Args>
inline Result CallSlot(VMObject* object, int slot, Args... args) {
  using Operation = Result (*)(VMObject*, Args...);
  return reinterpret_cast<Operation>(object->slots[slot])(object, args...);
}

}  // namespace tq

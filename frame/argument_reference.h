// Writing a caller's variable passed as a call argument (VMServices operation 131): the VM
// hands out a reference object for argument `index` (1-based, as GetArgument counts) of the
// current call, or null when that argument is not a variable. The reference's slots:
//   0 Assign(storage, type code) -> 0, or the VM's conversion code (100 or more) when the value
//     cannot take the variable's type; the VM converts the value to the variable's type;
//   1 Release().
#pragma once

#include <cstdint>

#include "frame/call_context.h"

namespace tq {

namespace reference {
inline constexpr int kAssign = 0;
inline constexpr int kRelease = 1;
}  // namespace reference

// Assigns the payload at `storage`, of type `typeCode`, to the variable passed as argument
// `index`. Returns 0, 105 when the argument is not a variable, or the VM's conversion code.
inline int32_t AssignArgument(CallContext* context, int32_t index, const void* storage,
                              uint32_t typeCode) {
  VMObject* ref = CallSlot<VMObject*>(context->services, vmservice::kArgumentReference, index,
                                      context->callWord);
  if (ref == nullptr) return 105;
  const int32_t code = CallSlot<int32_t>(ref, reference::kAssign, storage, typeCode);
  CallSlot<int32_t>(ref, reference::kRelease);
  return code;
}

}  // namespace tq

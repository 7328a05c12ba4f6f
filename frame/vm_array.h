// VM arrays (type code 140) as the library sees them. The VM creates arrays
// (VMServices CreateArray) and fills them (SetArrayElement); an array argument or result is a
// pointer-sized word holding the array object. The library reads elements through the array's
// own operations, in slot order: 0 AddRef, 1 Release, 2 ElementCount, 3 DimensionCount,
// 4 GetElement(index from 0, DynamicValue* out) -> 0 or an error code.
#pragma once

#include <cstdint>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/vm_object.h"

namespace tq {

inline constexpr uint32_t kArrayTypeCode = 140;

namespace vmarray {
inline constexpr int kAddRef = 0;
inline constexpr int kRelease = 1;
inline constexpr int kElementCount = 2;
inline constexpr int kDimensionCount = 3;
inline constexpr int kGetElement = 4;
}  // namespace vmarray

inline int32_t ElementCount(VMObject* array) {
  return CallSlot<int32_t>(array, vmarray::kElementCount);
}
inline int32_t DimensionCount(VMObject* array) {
  return CallSlot<int32_t>(array, vmarray::kDimensionCount);
}
inline int32_t GetElement(VMObject* array, int32_t index, DynamicValue* out) {
  return CallSlot<int32_t>(array, vmarray::kGetElement, index, out);
}
inline void ReleaseArray(VMObject* array) {
  if (array != nullptr) CallSlot<int32_t>(array, vmarray::kRelease);
}

inline VMObject* CreateArray(CallContext* context, int32_t count) {
  return CallSlot<VMObject*>(context->services, vmservice::kCreateArray, count);
}
inline int32_t SetArrayElement(CallContext* context, VMObject* array, int32_t index,
                               const void* value, uint32_t typeCode) {
  return CallSlot<int32_t>(context->services, vmservice::kSetArrayElement, array, index, value,
                           typeCode);
}

inline VMObject* ArrayArgument(void** args, int i) { return *static_cast<VMObject**>(args[i]); }

}  // namespace tq

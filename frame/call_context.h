// One call of a standard function: the CallContext the VM prepares, the VMServices operations
// the library calls, and the helpers with which implementation entries read their arguments
// and hand their result to the VM.
//
// Invariants: the argument array holds one pointer per declared parameter; the VM owns the
// storage it points to for the duration of the call. An entry whose overload has a result
// calls SetResult exactly once, also after an error.
#pragma once

#include <cstdint>

#include "frame/vm_object.h"

namespace tq {

struct ComponentProxy;
struct DynamicValue;
struct CXError;

struct CallContext {
  VMObject* services;  // the VMServices interface
  int32_t status;      // pass-back entries only: 42
  int32_t routine;     // pass-back entries only: the VM routine number
  int32_t reserved;    // not read by the library
  uint32_t callWord;   // bits 0..15: arguments actually passed; identifies the call
};

inline constexpr uint32_t ArgumentCount(const CallContext& context) {
  return context.callWord & 0xffffu;
}

// VMServices operation numbers (slots of the VM's services object).
namespace vmservice {
inline constexpr int kGetEnvironmentValue = 12;  // (kind, out buffer) -> 0 when supplied
inline constexpr int kCurrentLanguage = 17;      // () -> application language code
inline constexpr int kRegionalSettingsFor = 111; // (null, 0) -> RegionalSettings or null
inline constexpr int kMainWindow = 125;          // () -> window handle
inline constexpr int kGetArgument = 128;         // (index, call word, out value, error state)
inline constexpr int kArgumentReference = 131;   // reference to the caller's variable
inline constexpr int kSetResult = 133;           // (call word, result storage, type code)
inline constexpr int kCreateArray = 253;         // (count) -> array
inline constexpr int kSetArrayElement = 254;     // (array, index, value storage, type code)
inline constexpr int kRegionalSettings = 258;    // () -> RegionalSettings or null
inline constexpr int kSlotCount = 259;
}  // namespace vmservice

// Result type codes the frame itself uses.
namespace typecode {
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kBoolean = 1;
inline constexpr uint32_t kInteger = 8;
inline constexpr uint32_t kInteger64 = 9;
inline constexpr uint32_t kCurrency = 10;
inline constexpr uint32_t kReal = 12;
inline constexpr uint32_t kString = 16;
inline constexpr uint32_t kDate = 24;
inline constexpr uint32_t kTime = 25;
inline constexpr uint32_t kDateTime = 26;
inline constexpr uint32_t kDuration = 27;
inline constexpr uint32_t kVMString = 28;
inline constexpr uint32_t kDynamic = 31;
inline constexpr uint32_t kValueReference = 80;
inline constexpr uint32_t kText = 121;
inline constexpr uint32_t kTextParameter = 122;
inline constexpr uint32_t kText126 = 126;
inline constexpr uint32_t kText130 = 130;
}  // namespace typecode

// ---- VMServices calls -------------------------------------------------------------------

inline int32_t SetResult(CallContext* context, const void* storage, uint32_t typeCode) {
  return CallSlot<int32_t>(context->services, vmservice::kSetResult, context->callWord, storage,
                           typeCode);
}

inline int32_t GetArgument(CallContext* context, int32_t index, DynamicValue* out,
                           CXError* errorState) {
  return CallSlot<int32_t>(context->services, vmservice::kGetArgument, index, context->callWord,
                           out, errorState);
}

inline int32_t CurrentLanguage(CallContext* context) {
  return CallSlot<int32_t>(context->services, vmservice::kCurrentLanguage);
}

inline int32_t GetEnvironmentValue(CallContext* context, int32_t kind, void* out) {
  return CallSlot<int32_t>(context->services, vmservice::kGetEnvironmentValue, kind, out);
}

// ---- Reading the argument array ---------------------------------------------------------

// A value passed by reference (type codes 80 and 0x8050): data pointer, then type code.
struct ValueReference {
  void* data;
  uint32_t typeCode;
};

inline int32_t IntegerArgument(void** args, int i) { return *static_cast<int32_t*>(args[i]); }
inline bool BooleanArgument(void** args, int i) { return *static_cast<int32_t*>(args[i]) != 0; }
inline int64_t Integer64Argument(void** args, int i) { return *static_cast<int64_t*>(args[i]); }
inline double RealArgument(void** args, int i) { return *static_cast<double*>(args[i]); }
// Text parameters (122, 127, 131): the element holds a pointer to zero-terminated UTF-16 text,
// which may be null.
inline const char16_t* TextArgument(void** args, int i) {
  return *static_cast<const char16_t* const*>(args[i]);
}
inline DynamicValue* DynamicArgument(void** args, int i) {
  return static_cast<DynamicValue*>(args[i]);
}
inline ValueReference* ReferenceArgument(void** args, int i) {
  return static_cast<ValueReference*>(args[i]);
}

}  // namespace tq

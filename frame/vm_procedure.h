// Procedures of the application passed to standard functions (parameter type 67), and the
// VM's call service through which the library calls them.
//
// A procedure argument is a pointer-sized word holding the VM's procedure object. Its slots:
//   0 Register()  -> the new registration count, 0 when the VM refuses: keeps the procedure
//                    callable after the call that passed it (notification procedures);
//   1 Unregister() -> the remaining count;
//   2 Call(arguments, count, result) -> 0, or an error code when the VM could not run it;
//     `arguments` is an array of `count` DynamicValue pointers, `result` receives what the
//     procedure returned (may be null when the caller ignores it).
// Calls may come from any thread of the library (the VM serialises them with its own work).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "frame/dynamic_value.h"
#include "frame/vm_object.h"

namespace tq {

namespace procedure {
inline constexpr int kRegister = 0;
inline constexpr int kUnregister = 1;
inline constexpr int kCall = 2;
}  // namespace procedure

inline VMObject* ProcedureArgument(void** args, int i) {
  return *static_cast<VMObject* const*>(args[i]);
}

// Calls `procedure` with the values in `arguments`; `result` (optional) receives its result.
// Returns 0, or the VM's error code (105 for a null procedure).
inline int32_t CallProcedure(VMObject* procedure, std::initializer_list<const DynamicValue*> arguments,
                             DynamicValue* result = nullptr) {
  if (procedure == nullptr) return 105;
  return CallSlot<int32_t>(procedure, procedure::kCall, arguments.begin(),
                           static_cast<int32_t>(arguments.size()), result);
}

// True when the procedure ran and returned a true value (a boolean, or a number other than 0);
// a procedure that returns nothing counts as true.
inline bool CallProcedureForTruth(VMObject* procedure,
                                  std::initializer_list<const DynamicValue*> arguments) {
  DynamicValue result;
  if (CallProcedure(procedure, arguments, &result) != 0) return false;
  if (result.type() == 0) return true;
  return result.type() == 12 ? RealOf(result) != 0 : IntegerOf(result) != 0;
}

// A procedure kept beyond the call that passed it: registered on construction, unregistered
// on destruction. `registered()` is false when the VM refused.
class KeptProcedure {
 public:
  explicit KeptProcedure(VMObject* procedure)
      : procedure_(procedure),
        registered_(procedure != nullptr &&
                    CallSlot<int32_t>(procedure, procedure::kRegister) > 0) {}
  KeptProcedure(const KeptProcedure&) = delete;
  KeptProcedure& operator=(const KeptProcedure&) = delete;
  ~KeptProcedure() {
    if (registered_) CallSlot<int32_t>(procedure_, procedure::kUnregister);
  }
  bool registered() const { return registered_; }
  VMObject* get() const { return registered_ ? procedure_ : nullptr; }

 private:
  VMObject* procedure_;
  bool registered_;
};

}  // namespace tq

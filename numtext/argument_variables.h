// Writing back to the caller's variables passed as extra arguments of an open-ended call
// (the captured groups of the pattern-matching functions).
//
// The VM hands out a reference to the variable behind call argument `index` (1-based) through
// VMServices operation 131, ArgumentReference(index, call word, error state) -> reference
// object or null (the argument is not a variable). The reference's operations, in slot order:
// 0 Release(); 1 Assign(value storage, type code) -> 0 or an error code, the VM converting the
// value to the variable's type; 2 TypeCode() -> the variable's current type code.
//
// Invariants: every reference obtained is released before the helper returns.
#pragma once

#include <cstdint>
#include <string_view>

namespace tq {

struct CallContext;
struct CXError;

namespace variableref {
inline constexpr int kRelease = 0;
inline constexpr int kAssign = 1;
inline constexpr int kTypeCode = 2;
}  // namespace variableref

// Type code of a VM array variable as the VM reports it for variables.
inline constexpr uint32_t kVariableArrayType = 257;

// Assigns `text` (as a text value, type 16) to the variable of argument `index`; false when
// the argument is not a variable or the VM refused the value.
bool AssignTextToArgument(CallContext* context, CXError* errorState, int32_t index,
                          std::u16string_view text);
// The type code of the variable of argument `index`; 0 when it is not a variable.
uint32_t ArgumentVariableType(CallContext* context, CXError* errorState, int32_t index);

}  // namespace tq

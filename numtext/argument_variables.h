// Writing back to the caller's variables passed as extra arguments of an open-ended call
// (the captured groups of the pattern-matching functions).
//
// The VM hands out a reference to the variable behind call argument `index` (1-based) through
// VMServices operation 131, ArgumentReference(index, call word) -> reference object, or null
// when that argument is not a variable. The reference's operations, in slot order:
// 0 Assign(value storage, type code) -> 0, or the VM's conversion code when the value cannot
// take the variable's type (the VM converts it); 1 Release().
//
// Invariants: every reference obtained is released before the helper returns.
#pragma once

#include <cstdint>
#include <string_view>

namespace tq {

struct CallContext;

// Assigns `text` (as a text value, type 16) to the variable of argument `index`; false when
// the argument is not a variable or the VM refused the value.
bool AssignTextToArgument(CallContext* context, int32_t index, std::u16string_view text);

}  // namespace tq

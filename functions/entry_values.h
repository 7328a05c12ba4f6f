// The arguments and results of implementation entries, as every family reads and hands them:
// text arguments that may be null, and the results given to the VM through SetResult. A text
// result goes through a VM string that the library releases when the entry returns (the VM
// has taken its copy).
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/call_context.h"
#include "frame/text.h"
#include "frame/vm_string.h"

namespace tq::entries {

// A text argument; null reads as the empty text.
inline std::u16string_view TextView(void** args, int i) {
  const char16_t* t = TextArgument(args, i);
  return t != nullptr ? std::u16string_view(t, TextLength(t)) : std::u16string_view();
}

inline int32_t SetTextResult(CallContext* c, std::u16string_view text,
                             uint32_t code = typecode::kText) {
  LocalString result;
  result.assign(text);
  SetResult(c, result.address(), code);
  return 0;
}

inline int32_t SetBooleanResult(CallContext* c, bool b) {
  const int32_t word = b ? 1 : 0;
  SetResult(c, &word, typecode::kBoolean);
  return 0;
}

inline int32_t SetIntegerResult(CallContext* c, int32_t n) {
  SetResult(c, &n, typecode::kInteger);
  return 0;
}

inline int32_t SetInteger64Result(CallContext* c, int64_t n) {
  SetResult(c, &n, typecode::kInteger64);
  return 0;
}

inline int32_t SetRealResult(CallContext* c, double x) {
  SetResult(c, &x, typecode::kReal);
  return 0;
}

}  // namespace tq::entries

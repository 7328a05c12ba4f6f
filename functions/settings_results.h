// Small helpers of the entries of the settings families (registry, INI files, associations,
// parameters): text arguments that may be null, and the results they hand to the VM.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/call_context.h"
#include "frame/vm_string.h"

namespace tq::entries {

// A text argument; null reads as the empty text.
inline std::u16string_view TextView(void** args, int i) {
  const char16_t* t = TextArgument(args, i);
  return t != nullptr ? std::u16string_view(t) : std::u16string_view();
}

inline int32_t BooleanResult(CallContext* c, bool b) {
  const int32_t word = b ? 1 : 0;
  SetResult(c, &word, typecode::kBoolean);
  return 0;
}

inline int32_t TextResult(CallContext* c, std::u16string_view text) {
  LocalString result;
  result.assign(text);
  SetResult(c, result.address(), typecode::kText);
  return 0;
}

}  // namespace tq::entries

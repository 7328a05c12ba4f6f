// The reference is released on every path, also when the VM refuses the value.
#include "numtext/argument_variables.h"

#include "frame/call_context.h"
#include "frame/vm_string.h"

namespace tq {
namespace {

constexpr int kReferenceAssign = 0;
constexpr int kReferenceRelease = 1;

}  // namespace

bool AssignTextToArgument(CallContext* context, int32_t index, std::u16string_view text) {
  if (context->services == nullptr) return false;
  VMObject* ref = CallSlot<VMObject*>(context->services, vmservice::kArgumentReference, index,
                                      context->callWord);
  if (ref == nullptr) return false;
  LocalString value;
  const bool stored =
      value.assign(text) == kValueOk &&
      CallSlot<int32_t>(ref, kReferenceAssign, static_cast<const void*>(value.address()),
                        typecode::kString) == 0;
  CallSlot<int32_t>(ref, kReferenceRelease);
  return stored;
}

}  // namespace tq

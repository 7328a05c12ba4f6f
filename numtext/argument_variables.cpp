// Each call takes its own reference and releases it, so no reference outlives the call.
#include "numtext/argument_variables.h"

#include "frame/call_context.h"
#include "frame/vm_string.h"

namespace tq {
namespace {

class VariableReference {
 public:
  VariableReference(CallContext* context, CXError* errorState, int32_t index)
      : object_(context->services == nullptr
                    ? nullptr
                    : CallSlot<VMObject*>(context->services, vmservice::kArgumentReference, index,
                                          context->callWord, errorState)) {}
  ~VariableReference() {
    if (object_ != nullptr) CallSlot<int32_t>(object_, variableref::kRelease);
  }
  VariableReference(const VariableReference&) = delete;
  VariableReference& operator=(const VariableReference&) = delete;
  VMObject* get() const { return object_; }

 private:
  VMObject* object_;
};

}  // namespace

bool AssignTextToArgument(CallContext* context, CXError* errorState, int32_t index,
                          std::u16string_view text) {
  VariableReference ref(context, errorState, index);
  if (ref.get() == nullptr) return false;
  LocalString value;
  if (value.assign(text) != kValueOk) return false;
  return CallSlot<int32_t>(ref.get(), variableref::kAssign, static_cast<const void*>(value.address()),
                           typecode::kString) == 0;
}

uint32_t ArgumentVariableType(CallContext* context, CXError* errorState, int32_t index) {
  VariableReference ref(context, errorState, index);
  return ref.get() == nullptr ? 0 : CallSlot<uint32_t>(ref.get(), variableref::kTypeCode);
}

}  // namespace tq

// Obtaining and releasing the call's RegionalSettings object.
#include "datetime/date_mask_settings.h"

#include "frame/call_context.h"

namespace tq {

RegionalSettings& RegionalSettings::operator=(RegionalSettings&& other) noexcept {
  if (this != &other) {
    reset();
    object_ = other.object_;
    other.object_ = nullptr;
  }
  return *this;
}

RegionalSettings RegionalSettings::OfCall(CallContext* context) {
  if (context == nullptr || context->services == nullptr) return RegionalSettings();
  return RegionalSettings(CallSlot<VMObject*>(context->services, vmservice::kRegionalSettings));
}

void RegionalSettings::reset() {
  if (object_ != nullptr) CallSlot<int32_t>(object_, regionalslot::kRelease);
  object_ = nullptr;
}

}  // namespace tq

// Obtaining and releasing the call's RegionalSettings object.
#include "datetime/date_mask_settings.h"

#include "frame/call_context.h"

namespace tq {

RegionalSettings RegionalSettings::OfCall(CallContext* context) {
  RegionalSettings settings;
  if (context != nullptr) settings.services_ = context->services;
  return settings;
}

void RegionalSettings::Ask() const {
  object_ = CallSlot<VMObject*>(services_, vmservice::kRegionalSettings);
  services_ = nullptr;
}

void RegionalSettings::Release() {
  CallSlot<int32_t>(object_, regionalslot::kRelease);
}

}  // namespace tq

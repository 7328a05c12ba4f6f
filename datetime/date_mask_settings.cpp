// Obtaining and releasing the call's RegionalSettings object.
#include "datetime/date_mask_settings.h"

#include "frame/call_context.h"

namespace tq {

RegionalSettings RegionalSettings::OfCall(CallContext* context) {
  if (context == nullptr || context->services == nullptr) return RegionalSettings();
  return RegionalSettings(CallSlot<VMObject*>(context->services, vmservice::kRegionalSettings));
}

void RegionalSettings::Release() {
  CallSlot<int32_t>(object_, regionalslot::kRelease);
}

}  // namespace tq

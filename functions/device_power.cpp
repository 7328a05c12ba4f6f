// Implementation entries of PowerTimeout: the timeout of a power source, replacing it, and
// whether the external-power timeout is set.
#include "frame/call_context.h"
#include "functions/entry.h"
#include "system/power_timeouts.h"

namespace tq::entries {

TQ_ENTRY(PowerTimeout_Source) {
  const int32_t value = PowerTimeout(proxy, IntegerArgument(args, 0));
  SetResult(context, &value, typecode::kInteger);
  return 0;
}

TQ_ENTRY(PowerTimeout_Replace) {
  const int32_t value = PowerTimeout(proxy, IntegerArgument(args, 0), IntegerArgument(args, 1));
  SetResult(context, &value, typecode::kInteger);
  return 0;
}

TQ_ENTRY(PowerTimeout_External) {
  const int32_t set = ExternalPowerTimeoutSet(proxy) ? 1 : 0;
  SetResult(context, &set, typecode::kBoolean);
  return 0;
}

}  // namespace tq::entries

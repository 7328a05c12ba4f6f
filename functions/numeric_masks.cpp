// Implementation entries of the numeric masks family: FormatDiskSize.
#include <string>

#include "frame/call_context.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "numtext/disk_size.h"

namespace tq::entries {
namespace {

// The settings FormatDiskSize asks the VM for (service 111 with no object).
RegionalSettings DiskSizeSettings(CallContext* context) {
  if (context == nullptr || context->services == nullptr) return RegionalSettings();
  return RegionalSettings(CallSlot<VMObject*>(context->services, vmservice::kRegionalSettingsFor,
                                              static_cast<void*>(nullptr), int32_t{0}));
}

int32_t Run(CallContext* context, ComponentProxy* proxy, int64_t size, int64_t unit) {
  const std::u16string text = DiskSizeText(size, unit, DiskSizeSettings(context), proxy);
  LocalString result;
  result.assign(text);
  SetResult(context, result.address(), typecode::kText130);
  return 0;
}

}  // namespace

TQ_ENTRY(FormatDiskSize_Size) { return Run(context, proxy, Integer64Argument(args, 0), 0); }

TQ_ENTRY(FormatDiskSize_Unit) {
  return Run(context, proxy, Integer64Argument(args, 0), IntegerArgument(args, 1));
}

}  // namespace tq::entries

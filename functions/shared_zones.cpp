// Implementation entries of the shared-zone functions: SharedZoneOpen (scope 2, mode 3 and no
// procedure by default), SharedZoneExists (scope 2 by default) and SharedZoneWait (no time
// limit by default; the duration is read as milliseconds).
#include "frame/call_context.h"
#include "frame/vm_controls.h"
#include "frame/vm_procedure.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "system/shared_zone_functions.h"
#include "system/zone_layout.h"

namespace tq::entries {
namespace {

int32_t Open(CallContext* context, ComponentProxy* proxy, void** args, int32_t scope,
             int32_t mode, VMObject* procedure) {
  const int32_t index = OpenSharedZone(proxy, TextView(args, 0), IntegerArgument(args, 1), scope,
                                       mode, procedure, StringMode(context));
  SetResult(context, &index, typecode::kInteger);
  return 0;
}

}  // namespace

TQ_ENTRY(SharedZoneOpen_Size) {
  return Open(context, proxy, args, kLocalScope, kZoneDefaultMode, nullptr);
}

TQ_ENTRY(SharedZoneOpen_Scope) {
  return Open(context, proxy, args, IntegerArgument(args, 2), kZoneDefaultMode, nullptr);
}

TQ_ENTRY(SharedZoneOpen_Mode) {
  return Open(context, proxy, args, IntegerArgument(args, 2), IntegerArgument(args, 3), nullptr);
}

TQ_ENTRY(SharedZoneOpen_Procedure) {
  return Open(context, proxy, args, IntegerArgument(args, 2), IntegerArgument(args, 3),
              ProcedureArgument(args, 4));
}

TQ_ENTRY(SharedZoneExists_Name) {
  return SetBooleanResult(context, SharedZoneExists(TextView(args, 0), kLocalScope));
}

TQ_ENTRY(SharedZoneExists_Scope) {
  return SetBooleanResult(context, SharedZoneExists(TextView(args, 0), IntegerArgument(args, 1)));
}

TQ_ENTRY(SharedZoneWait_Zone) {
  return SetBooleanResult(context, WaitSharedZone(proxy, IntegerArgument(args, 0), 0));
}

TQ_ENTRY(SharedZoneWait_Timeout) {
  return SetBooleanResult(context,
                    WaitSharedZone(proxy, IntegerArgument(args, 0), Integer64Argument(args, 1)));
}

}  // namespace tq::entries

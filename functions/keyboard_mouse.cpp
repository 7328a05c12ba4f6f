// Implementation entries of keyboard and mouse emulation: EmulateKeys (342 and 353) and
// EmulateMouse (345 and 352). The control parameter names a control of the VM.
#include "frame/call_context.h"
#include "functions/entry.h"
#include "system/emulation.h"
#include "system/vm_control_access.h"

namespace tq::entries {

TQ_ENTRY(EmulateKeys_Keys) {
  const VMControlAccess control(context, ControlNameArgument(args, 0));
  const char16_t* keys = TextArgument(args, 1);
  EmulateKeys(proxy, control, keys != nullptr ? keys : u"", 0);
  return 0;
}

TQ_ENTRY(EmulateKeys_Modifiers) {
  const VMControlAccess control(context, ControlNameArgument(args, 0));
  const char16_t* keys = TextArgument(args, 1);
  EmulateKeys(proxy, control, keys != nullptr ? keys : u"", IntegerArgument(args, 2));
  return 0;
}

TQ_ENTRY(EmulateMouse_Action) {
  const VMControlAccess control(context, ControlNameArgument(args, 0));
  EmulateMouse(proxy, control, IntegerArgument(args, 1), IntegerArgument(args, 2),
               IntegerArgument(args, 3));
  return 0;
}

}  // namespace tq::entries

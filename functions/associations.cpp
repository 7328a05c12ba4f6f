// Implementation entries of the file associations: FileAssociationCreate,
// FileAssociationDelete and FileAssociationCommand.
#include <string>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "system/file_associations.h"

namespace tq::entries {
namespace {

int32_t CommandResult(CallContext* c, ComponentProxy* p, void** args, int32_t scope) {
  RegistryData data = FileAssociationCommand(p, TextView(args, 0), scope);
  DynamicValue value;
  RegistryDataToValue(data, value);
  SetResult(c, &value, typecode::kDynamic);
  return 0;
}

}  // namespace

TQ_ENTRY(FileAssociationCreate_Extension) {
  return SetBooleanResult(context,
                       CreateFileAssociation(proxy, TextView(args, 0), TextView(args, 1), 0));
}
TQ_ENTRY(FileAssociationCreate_Scope) {
  return SetBooleanResult(context, CreateFileAssociation(proxy, TextView(args, 0), TextView(args, 1),
                                                      IntegerArgument(args, 2)));
}
TQ_ENTRY(FileAssociationDelete_Extension) {
  return SetBooleanResult(context, DeleteFileAssociation(proxy, TextView(args, 0), 0));
}
TQ_ENTRY(FileAssociationDelete_Scope) {
  return SetBooleanResult(context,
                       DeleteFileAssociation(proxy, TextView(args, 0), IntegerArgument(args, 1)));
}
TQ_ENTRY(FileAssociationCommand_Extension) {
  return CommandResult(context, proxy, args, 0);
}
TQ_ENTRY(FileAssociationCommand_Scope) {
  return CommandResult(context, proxy, args, IntegerArgument(args, 1));
}

}  // namespace tq::entries

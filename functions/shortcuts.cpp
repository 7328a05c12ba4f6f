// Implementation entries of the shortcut functions: CreateProgramsShortcut (CreateShortcut in
// the Programs menu), CreateShortcut (the integer and the three texts that follow the folder
// are accepted and ignored) and DeleteShortcut. A missing folder is the empty text.
#include "frame/call_context.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "services/shortcuts.h"

namespace tq::entries {
namespace {

}  // namespace

TQ_ENTRY(CreateProgramsShortcut_Folder) {
  return SetBooleanResult(context,
                    CreateShortcut(proxy, kProgramsMenu, TextView(args, 0), TextView(args, 1), TextView(args, 2)));
}

TQ_ENTRY(CreateShortcut_Location) {
  return SetBooleanResult(context, CreateShortcut(proxy, IntegerArgument(args, 0), {}, TextView(args, 1),
                                            TextView(args, 2)));
}

TQ_ENTRY(CreateShortcut_Folder) {
  return SetBooleanResult(context, CreateShortcut(proxy, IntegerArgument(args, 0), TextView(args, 3),
                                            TextView(args, 1), TextView(args, 2)));
}

TQ_ENTRY(DeleteShortcut_Location) {
  return SetBooleanResult(context, DeleteShortcut(IntegerArgument(args, 0), {}, TextView(args, 1)));
}

TQ_ENTRY(DeleteShortcut_Folder) {
  return SetBooleanResult(context,
                    DeleteShortcut(IntegerArgument(args, 0), TextView(args, 2), TextView(args, 1)));
}

}  // namespace tq::entries

// Implementation entries of the shortcut functions: CreateProgramsShortcut (CreateShortcut in
// the Programs menu), CreateShortcut (the integer and the three texts that follow the folder
// are accepted and ignored) and DeleteShortcut. A missing folder is the empty text.
#include "frame/call_context.h"
#include "functions/entry.h"
#include "services/shortcuts.h"

namespace tq::entries {
namespace {

std::u16string_view Text(void** args, int i) {
  const char16_t* text = TextArgument(args, i);
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

int32_t SetBoolean(CallContext* context, bool value) {
  const int32_t word = value ? 1 : 0;
  SetResult(context, &word, typecode::kBoolean);
  return 0;
}

}  // namespace

TQ_ENTRY(CreateProgramsShortcut_Folder) {
  return SetBoolean(context,
                    CreateShortcut(proxy, kProgramsMenu, Text(args, 0), Text(args, 1), Text(args, 2)));
}

TQ_ENTRY(CreateShortcut_Location) {
  return SetBoolean(context, CreateShortcut(proxy, IntegerArgument(args, 0), {}, Text(args, 1),
                                            Text(args, 2)));
}

TQ_ENTRY(CreateShortcut_Folder) {
  return SetBoolean(context, CreateShortcut(proxy, IntegerArgument(args, 0), Text(args, 3),
                                            Text(args, 1), Text(args, 2)));
}

TQ_ENTRY(DeleteShortcut_Location) {
  return SetBoolean(context, DeleteShortcut(IntegerArgument(args, 0), {}, Text(args, 1)));
}

TQ_ENTRY(DeleteShortcut_Folder) {
  return SetBoolean(context,
                    DeleteShortcut(IntegerArgument(args, 0), Text(args, 2), Text(args, 1)));
}

}  // namespace tq::entries

// Implementation entries of the file handles: FileOpen, FileCreate, FileClose, FileReadLine,
// FileWriteLine and FileSeek.
#include <string>

#include "files/file_handles.h"
#include "files/reference_text.h"
#include "frame/call_context.h"
#include "frame/vm_controls.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"

namespace tq::entries {
namespace {

constexpr int32_t kDefaultOpenMode = 3;
constexpr int32_t kDefaultCreateMode = 515;
constexpr int32_t kCreateModeBits = 0x203;

int32_t OpenEntry(CallContext* context, ComponentProxy* proxy, void** args, int32_t mode) {
  bool wasVMString = false;
  const std::optional<std::u16string> path = ReferenceText(args[0], &wasVMString);
  const int32_t handle = OpenTextFile(proxy, path, wasVMString, mode, StringMode(context));
  SetResult(context, &handle, typecode::kInteger);
  return 0;
}

}  // namespace

TQ_ENTRY(FileOpen_PathMode) {
  return OpenEntry(context, proxy, args, IntegerArgument(args, 1));
}

TQ_ENTRY(FileOpen_Path) {
  return OpenEntry(context, proxy, args, kDefaultOpenMode);
}

TQ_ENTRY(FileCreate_Path) {
  return OpenEntry(context, proxy, args, kDefaultCreateMode);
}

TQ_ENTRY(FileCreate_PathMode) {
  return OpenEntry(context, proxy, args, IntegerArgument(args, 1) | kCreateModeBits);
}

TQ_ENTRY(FileClose_Handle) {
  const int32_t result = CloseTextFile(proxy, IntegerArgument(args, 0));
  SetResult(context, &result, typecode::kInteger);
  return 0;
}

// The second form's extra parameter is accepted and not used: it reads the next line too.
TQ_ENTRY(FileReadLine_Handle) {
  LocalString line;
  line.assign(ReadTextLine(proxy, IntegerArgument(args, 0)));
  SetResult(context, line.address(), typecode::kText);
  return 0;
}

TQ_ENTRY(FileWriteLine_Value) {
  bool wasVMString = false;
  const std::u16string text = ReferenceText(args[1], &wasVMString).value_or(u"");
  return SetBooleanResult(context, WriteTextLine(proxy, IntegerArgument(args, 0), text, -1));
}

TQ_ENTRY(FileWriteLine_ValueSize) {
  bool wasVMString = false;
  const std::u16string text = ReferenceText(args[1], &wasVMString).value_or(u"");
  const int32_t size = IntegerArgument(args, 2);
  return SetBooleanResult(context,
                       WriteTextLine(proxy, IntegerArgument(args, 0), text, size < 0 ? 0 : size));
}

TQ_ENTRY(FileWriteLine_AddressSize) {
  const int32_t handle = IntegerArgument(args, 0);
  const auto address = static_cast<uintptr_t>(static_cast<uint32_t>(IntegerArgument(args, 1)));
  const int32_t size = IntegerArgument(args, 2);
  return SetBooleanResult(context, WriteMemoryLine(proxy, handle, address, size));
}

TQ_ENTRY(FileSeek_HandleOffsetOrigin) {
  const int64_t position = SeekTextFile(proxy, IntegerArgument(args, 0),
                                        Integer64Argument(args, 1), IntegerArgument(args, 2));
  SetResult(context, &position, typecode::kInteger64);
  return 0;
}

}  // namespace tq::entries

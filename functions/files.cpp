// Implementation entries of the file-system functions: OpenDocument, FileDate, FileTime,
// FileDateTime, FileCopy, FileRename, DirectoryCreate, DirectoryMake, DirectoryRemove and
// ListFiles.
#include <string>

#include "files/file_listing.h"
#include "files/file_stamps.h"
#include "files/file_system.h"
#include "files/reference_text.h"
#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/vm_procedure.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"

namespace tq::entries {
namespace {

// A text argument as an owned text (null reads as empty).
std::u16string Text(void** args, int i) {
  const char16_t* text = TextArgument(args, i);
  return text != nullptr ? std::u16string(text) : std::u16string();
}

std::u16string ReferenceOrEmpty(void** args, int i) {
  bool wasVMString = false;
  return ReferenceText(args[i], &wasVMString).value_or(u"");
}

int32_t StampEntry(CallContext* context, ComponentProxy* proxy, void** args, StampForm form) {
  const uint32_t count = ArgumentCount(*context);
  const std::u16string value = count >= 2 ? Text(args, 1) : std::u16string();
  const int32_t kind = count >= 3 ? IntegerArgument(args, 2) : 0;
  return SetTextResult(context, FileStamp(proxy, ReferenceOrEmpty(args, 0), value, kind, form));
}

// Calls the application's procedure with texts; false when it returns false or cannot run.
bool CallWithTexts(VMObject* procedure, std::initializer_list<std::u16string_view> texts) {
  DynamicValue values[3];
  const DynamicValue* pointers[3] = {};
  size_t n = 0;
  for (std::u16string_view text : texts) {
    SetText(values[n], text);
    pointers[n] = &values[n];
    ++n;
  }
  DynamicValue result;
  const DynamicValue* const* arguments = pointers;
  const int32_t status = CallSlot<int32_t>(procedure, procedure::kCall, arguments,
                                           static_cast<int32_t>(n), &result);
  if (status != 0) return false;
  if (result.type() == 0) return true;
  return result.type() == 12 ? RealOf(result) != 0 : IntegerOf(result) != 0;
}

// ListFiles with a procedure: called with (path) or (path, parameter) for each entry; the
// result is the number of entries visited.
int32_t ListWithProcedure(CallContext* context, void** args, bool withParameter, int32_t options) {
  VMObject* procedure = ProcedureArgument(args, 1);
  const std::u16string parameter = withParameter ? Text(args, 2) : std::u16string();
  const int32_t count = WalkFiles(Text(args, 0), options,
                                  [&](const std::u16string& path, const ce::WIN32_FIND_DATAW&) {
                                    return withParameter ? CallWithTexts(procedure, {path, parameter})
                                                         : CallWithTexts(procedure, {path});
                                  });
  SetResult(context, &count, typecode::kInteger);
  return 0;
}

// FileCopy with a procedure: called with (source, destination) or (source, destination,
// parameter) for each file a multi-file copy makes.
int32_t CopyWithProcedure(CallContext* context, ComponentProxy* proxy, void** args,
                          bool withParameter, int32_t options) {
  VMObject* procedure = ProcedureArgument(args, 2);
  const std::u16string parameter = withParameter ? Text(args, 3) : std::u16string();
  const CopyProcedure report = [&](const std::u16string& from, const std::u16string& to) {
    return withParameter ? CallWithTexts(procedure, {from, to, parameter})
                         : CallWithTexts(procedure, {from, to});
  };
  return SetBooleanResult(context, CopyFiles(proxy, Text(args, 0), Text(args, 1), options,
                                          procedure != nullptr ? report : CopyProcedure(), nullptr));
}

}  // namespace

TQ_ENTRY(ListFiles_Procedure) { return ListWithProcedure(context, args, false, 0); }
TQ_ENTRY(ListFiles_ProcedureParameter) { return ListWithProcedure(context, args, true, 0); }
TQ_ENTRY(ListFiles_ProcedureParameterOptions) {
  return ListWithProcedure(context, args, true, IntegerArgument(args, 3));
}

TQ_ENTRY(FileCopy_Procedure) { return CopyWithProcedure(context, proxy, args, false, 0); }
TQ_ENTRY(FileCopy_ProcedureParameter) { return CopyWithProcedure(context, proxy, args, true, 0); }
TQ_ENTRY(FileCopy_ProcedureParameterOptions) {
  return CopyWithProcedure(context, proxy, args, true, IntegerArgument(args, 4));
}

TQ_ENTRY(OpenDocument_Path) {
  return SetBooleanResult(context, OpenDocument(proxy, Text(args, 0), u""));
}

TQ_ENTRY(OpenDocument_PathVerb) {
  return SetBooleanResult(context, OpenDocument(proxy, Text(args, 0), Text(args, 1)));
}

TQ_ENTRY(FileDate_File) { return StampEntry(context, proxy, args, StampForm::kDate); }
TQ_ENTRY(FileTime_File) { return StampEntry(context, proxy, args, StampForm::kTime); }
TQ_ENTRY(FileDateTime_File) { return StampEntry(context, proxy, args, StampForm::kDateTime); }

TQ_ENTRY(FileCopy_SourceDestination) {
  return SetBooleanResult(context, CopyFiles(proxy, Text(args, 0), Text(args, 1), 0, {}, nullptr));
}

TQ_ENTRY(FileCopy_Options) {
  return SetBooleanResult(context, CopyFiles(proxy, Text(args, 0), Text(args, 1),
                                          IntegerArgument(args, 2), {}, nullptr));
}

TQ_ENTRY(FileRename_SourceDestination) {
  return SetBooleanResult(context,
                       RenameFile(proxy, ReferenceOrEmpty(args, 0), ReferenceOrEmpty(args, 1)));
}

TQ_ENTRY(DirectoryCreate_Path) {
  return SetBooleanResult(context, MakeDirectory(proxy, ReferenceOrEmpty(args, 0)) >= 0);
}

TQ_ENTRY(DirectoryMake_Path) {
  const int32_t result = MakeDirectory(proxy, ReferenceOrEmpty(args, 0)) == 1 ? 0 : -1;
  SetResult(context, &result, typecode::kInteger);
  return 0;
}

TQ_ENTRY(DirectoryRemove_Path) {
  return SetBooleanResult(context, RemoveDirectory(proxy, Text(args, 0), 0));
}

TQ_ENTRY(DirectoryRemove_PathOptions) {
  return SetBooleanResult(context, RemoveDirectory(proxy, Text(args, 0), IntegerArgument(args, 1)));
}

TQ_ENTRY(ListFiles_Pattern) {
  return SetTextResult(context, ListFiles(Text(args, 0), 0));
}

TQ_ENTRY(ListFiles_PatternOptions) {
  return SetTextResult(context, ListFiles(Text(args, 0), IntegerArgument(args, 1)));
}

}  // namespace tq::entries

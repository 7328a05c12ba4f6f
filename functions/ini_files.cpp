// Implementation entries of the INI-file functions: ProfileWrite (write a value, delete a key,
// empty a section; in "\Windows\win.ini" or a named file) and ProfileRead.
#include <string>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/raise_error.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "platform/last_error.h"
#include "system/profile_engine.h"

namespace tq::entries {
namespace {

constexpr uint32_t kAbsentItemNotZero = 80290;
constexpr uint32_t kIniWriteFailed = 80294;

// Empty or null texts stand for "none".
ProfileItem Item(void** args, int i) {
  const char16_t* t = TextArgument(args, i);
  if (t == nullptr || *t == 0) return std::nullopt;
  return std::u16string_view(t);
}

std::u16string_view FileArgument(void** args, int i) {
  const ProfileItem file = Item(args, i);
  return file ? *file : kDefaultProfileFile;
}

// An explicit file: a failed write raises 80294 with the file name and the system code.
int32_t WriteNamedFile(CallContext* c, ComponentProxy* p, ProfileItem section, ProfileItem key,
                       ProfileItem value, std::u16string_view file) {
  ce::SetLastError(ce::ERROR_SUCCESS);
  if (section && ProfileEngineWrite(*section, key, value, file)) return SetBooleanResult(c, true);
  if (value || !section) {
    const uint32_t code = ce::GetLastError();
    RaiseError(p, kIniWriteFailed, {file});
    RecordSystemError(p, code != 0 ? code : ce::ERROR_INVALID_PARAMETER);
  }
  return SetBooleanResult(c, false);
}

int32_t WriteDefaultFile(CallContext* c, ProfileItem section, ProfileItem key, ProfileItem value) {
  return SetBooleanResult(c, section && ProfileEngineWrite(*section, key, value, kDefaultProfileFile));
}

int32_t ReadResult(CallContext* c, ProfileItem section, ProfileItem key, ProfileItem defaultText,
                   std::u16string_view file) {
  if (!section) key = std::nullopt;
  const std::u16string text = ProfileEngineRead(section, key, defaultText, file);
  DynamicValue value;
  SetType(value, typecode::kString);
  Assign(*reinterpret_cast<VMString*>(value.payload), text);
  SetResult(c, &value, typecode::kDynamic);
  return 0;
}

}  // namespace

TQ_ENTRY(ProfileWrite_Section) {
  return WriteDefaultFile(context, Item(args, 0), {}, {});
}
TQ_ENTRY(ProfileWrite_Key) {
  return WriteDefaultFile(context, Item(args, 0), Item(args, 1), {});
}
TQ_ENTRY(ProfileWrite_Value) {
  return WriteDefaultFile(context, Item(args, 0), Item(args, 1), Item(args, 2));
}
TQ_ENTRY(ProfileWrite_ValueFile) {
  return WriteNamedFile(context, proxy, Item(args, 0), Item(args, 1), Item(args, 2),
                        FileArgument(args, 3));
}
TQ_ENTRY(ProfileWrite_KeyAbsent) {
  if (const int32_t n = IntegerArgument(args, 2); n != 0) {
    RaiseError(proxy, kAbsentItemNotZero, {n});
    return SetBooleanResult(context, false);
  }
  return WriteDefaultFile(context, Item(args, 0), Item(args, 1), {});
}
TQ_ENTRY(ProfileWrite_KeyAbsentFile) {
  if (const int32_t n = IntegerArgument(args, 2); n != 0) {
    RaiseError(proxy, kAbsentItemNotZero, {n});
    return SetBooleanResult(context, false);
  }
  const ProfileItem section = Item(args, 0);
  return SetBooleanResult(
      context, section && ProfileEngineWrite(*section, Item(args, 1), {}, FileArgument(args, 3)));
}
TQ_ENTRY(ProfileWrite_SectionFile) {
  const std::u16string_view file = FileArgument(args, 3);
  if (IntegerArgument(args, 1) != 0 || IntegerArgument(args, 2) != 0) {
    RaiseError(proxy, kAbsentItemNotZero, {file});
    return SetBooleanResult(context, false);
  }
  const ProfileItem section = Item(args, 0);
  return SetBooleanResult(context, section && ProfileEngineWrite(*section, {}, {}, file));
}
TQ_ENTRY(ProfileWrite_Flush) {
  if (IntegerArgument(args, 0) != 0 || IntegerArgument(args, 1) != 0 ||
      IntegerArgument(args, 2) != 0) {
    RaiseError(proxy, kAbsentItemNotZero, {FileArgument(args, 3)});
    return SetBooleanResult(context, false);
  }
  return SetBooleanResult(context, true);
}

TQ_ENTRY(ProfileRead_Section) {
  return ReadResult(context, Item(args, 0), {}, {}, kDefaultProfileFile);
}
TQ_ENTRY(ProfileRead_Key) {
  return ReadResult(context, Item(args, 0), Item(args, 1), {}, kDefaultProfileFile);
}
TQ_ENTRY(ProfileRead_Default) {
  return ReadResult(context, Item(args, 0), Item(args, 1), Item(args, 2), kDefaultProfileFile);
}
TQ_ENTRY(ProfileRead_File) {
  return ReadResult(context, Item(args, 0), Item(args, 1), Item(args, 2), FileArgument(args, 3));
}

}  // namespace tq::entries

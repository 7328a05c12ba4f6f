// Implementation entries of the registry functions: RegistryQueryValue, RegistrySetValue,
// RegistryFirstSubKey, RegistryNextSubKey, RegistryDeleteKey, RegistryCreateKey,
// RegistryExists, RegistryDeleteValue, RegistryListValues, RegistrySearch, RegistryValueType
// and RegistryListSubKeys.
#include "platform/registry.h"

#include <sys/uio.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/raise_error.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "platform/strings.h"
#include "system/registry_errors.h"
#include "system/registry_keys.h"
#include "system/registry_search.h"
#include "system/registry_values.h"
#include "system/settings_api.h"
#include "system/value_text.h"

namespace tq::entries {
namespace {

int32_t ValueResult(CallContext* c, const RegistryData& data, void** args, int flagArgument) {
  if (flagArgument >= 0) *static_cast<int32_t*>(args[flagArgument]) = data.read ? 1 : 0;
  DynamicValue value;
  RegistryDataToValue(data, value);
  SetResult(c, &value, typecode::kDynamic);
  return 0;
}

// Where a value goes: by name (index < 0) or by index.
struct Destination {
  std::u16string_view key;
  std::u16string_view name;
  int32_t index = -1;
};

Destination ByName(void** args) {
  return {TextView(args, 0), TextView(args, 1), -1};
}
Destination ByIndex(void** args) {
  return {TextView(args, 0), {}, IntegerArgument(args, 1)};
}

bool Write(ComponentProxy* p, const Destination& d, ce::DWORD type, std::string_view bytes) {
  return d.index < 0 ? WriteRegistryValue(p, d.key, d.name, type, bytes)
                     : WriteRegistryValueAt(p, d.key, d.index, type, bytes);
}

template <typename T>
std::string_view BytesOf(const T& value, size_t size = sizeof(T)) {
  return {reinterpret_cast<const char*>(&value), size};
}

int32_t WriteText(CallContext* c, ComponentProxy* p, const Destination& d,
                  std::u16string_view text) {
  return SetBooleanResult(c, Write(p, d, ce::REG_SZ, StringBytes(text, d.index < 0)));
}

int32_t WriteDword(CallContext* c, ComponentProxy* p, const Destination& d, int32_t n) {
  return SetBooleanResult(c, Write(p, d, ce::REG_DWORD, BytesOf(n)));
}

int32_t WriteBinary(CallContext* c, ComponentProxy* p, const Destination& d, const void* data,
                    size_t size) {
  return SetBooleanResult(c, Write(p, d, ce::REG_BINARY, {static_cast<const char*>(data), size}));
}

// Bytes at an address the application gives: read through the kernel, so that an address
// that is not readable is refused (ERROR_NOACCESS) instead of faulting.
int32_t WriteMemory(CallContext* c, ComponentProxy* p, const Destination& d, void** args) {
  const uintptr_t address = static_cast<uint32_t>(IntegerArgument(args, 2));
  const int32_t size = IntegerArgument(args, 3);
  std::string bytes(size > 0 ? static_cast<size_t>(size) : 0, '\0');
  if (size < 0) {
    RaiseWriteFailure(p, d.key, d.name, ce::ERROR_INVALID_PARAMETER);
    return SetBooleanResult(c, false);
  }
  if (size > 0) {
    iovec local{bytes.data(), bytes.size()};
    iovec remote{reinterpret_cast<void*>(address), bytes.size()};
    if (process_vm_readv(getpid(), &local, 1, &remote, 1, 0) != size) {
      RaiseWriteFailure(p, d.key, d.name, ce::ERROR_NOACCESS);
      return SetBooleanResult(c, false);
    }
  }
  return SetBooleanResult(c, Write(p, d, ce::REG_BINARY, bytes));
}

int32_t WriteTyped(CallContext* c, ComponentProxy* p, const Destination& d, void** args) {
  DynamicValue& value = *DynamicArgument(args, 2);
  std::u16string typeName(TextView(args, 3));
  if (!typeName.empty())
    ce::CharUpperBuffW(typeName.data(), static_cast<ce::DWORD>(typeName.size()));
  std::optional<TypedBytes> typed = TypedRegistryBytes(value, typeName);
  if (!typed) {
    if (!IsRegistryTypeName(typeName)) RaiseError(p, registry_error::kUnknownType);
    return SetBooleanResult(c, false);
  }
  return SetBooleanResult(c, Write(p, d, typed->type, typed->bytes));
}

}  // namespace

TQ_ENTRY(RegistryQueryValue_Name) {
  return ValueResult(context, ReadRegistryValue(TextView(args, 0), TextView(args, 1)), args, -1);
}
TQ_ENTRY(RegistryQueryValue_NameFlag) {
  return ValueResult(context, ReadRegistryValue(TextView(args, 0), TextView(args, 1)), args, 2);
}
TQ_ENTRY(RegistryQueryValue_Index) {
  return ValueResult(context, ReadRegistryValueAt(TextView(args, 0), IntegerArgument(args, 1)),
                     args, -1);
}
TQ_ENTRY(RegistryQueryValue_IndexFlag) {
  return ValueResult(context, ReadRegistryValueAt(TextView(args, 0), IntegerArgument(args, 1)),
                     args, 2);
}

TQ_ENTRY(RegistrySetValue_NameText) {
  return WriteText(context, proxy, ByName(args), TextView(args, 2));
}
TQ_ENTRY(RegistrySetValue_IndexText) {
  return WriteText(context, proxy, ByIndex(args), TextView(args, 2));
}
TQ_ENTRY(RegistrySetValue_NameInteger) {
  return WriteDword(context, proxy, ByName(args), IntegerArgument(args, 2));
}
TQ_ENTRY(RegistrySetValue_IndexInteger) {
  return WriteDword(context, proxy, ByIndex(args), IntegerArgument(args, 2));
}
TQ_ENTRY(RegistrySetValue_NameBoolean) {
  return WriteDword(context, proxy, ByName(args), BooleanArgument(args, 2) ? 1 : 0);
}
TQ_ENTRY(RegistrySetValue_IndexBoolean) {
  return WriteDword(context, proxy, ByIndex(args), BooleanArgument(args, 2) ? 1 : 0);
}
TQ_ENTRY(RegistrySetValue_NameReal) {
  return WriteBinary(context, proxy, ByName(args), args[2], 8);
}
TQ_ENTRY(RegistrySetValue_IndexReal) {
  return WriteBinary(context, proxy, ByIndex(args), args[2], 8);
}
TQ_ENTRY(RegistrySetValue_NameCurrency) {
  return WriteBinary(context, proxy, ByName(args), args[2], 10);
}
TQ_ENTRY(RegistrySetValue_IndexCurrency) {
  return WriteBinary(context, proxy, ByIndex(args), args[2], 10);
}
TQ_ENTRY(RegistrySetValue_NameMemory) {
  return WriteMemory(context, proxy, ByName(args), args);
}
TQ_ENTRY(RegistrySetValue_IndexMemory) {
  return WriteMemory(context, proxy, ByIndex(args), args);
}
TQ_ENTRY(RegistrySetValue_NameTyped) {
  return WriteTyped(context, proxy, ByName(args), args);
}
TQ_ENTRY(RegistrySetValue_IndexTyped) {
  return WriteTyped(context, proxy, ByIndex(args), args);
}
TQ_ENTRY(RegistrySetValue_NameInteger64) {
  const int64_t n = Integer64Argument(args, 2);
  return SetBooleanResult(context, Write(proxy, ByName(args), ce::REG_QWORD, BytesOf(n)));
}

TQ_ENTRY(RegistryFirstSubKey_Root) {
  return SetTextResult(context, FirstSubKey(u""));
}
TQ_ENTRY(RegistryFirstSubKey_Key) {
  return SetTextResult(context, FirstSubKey(TextView(args, 0)));
}
TQ_ENTRY(RegistryNextSubKey_Key) {
  return SetTextResult(context, NextSubKey(TextView(args, 0)));
}

TQ_ENTRY(RegistryDeleteKey_Key) {
  return SetBooleanResult(context, DeleteRegistryKey(proxy, TextView(args, 0)));
}
TQ_ENTRY(RegistryCreateKey_Key) {
  return SetBooleanResult(context, CreateRegistryKey(proxy, TextView(args, 0)));
}
TQ_ENTRY(RegistryDeleteValue_Name) {
  return SetBooleanResult(context, DeleteRegistryValue(proxy, TextView(args, 0), TextView(args, 1)));
}

TQ_ENTRY(RegistryExists_Key) {
  return SetBooleanResult(context, RegistryKeyExists(TextView(args, 0)));
}
TQ_ENTRY(RegistryExists_Name) {
  return SetBooleanResult(context, RegistryValueExists(TextView(args, 0), TextView(args, 1)));
}
TQ_ENTRY(RegistryExists_Index) {
  return SetBooleanResult(context, RegistryIndexExists(TextView(args, 0), IntegerArgument(args, 1)));
}

TQ_ENTRY(RegistryListValues_Key) {
  return SetTextResult(context, ListRegistryValues(TextView(args, 0), false));
}
TQ_ENTRY(RegistryListValues_Types) {
  return SetTextResult(context, ListRegistryValues(TextView(args, 0), BooleanArgument(args, 1)));
}
TQ_ENTRY(RegistryListSubKeys_Key) {
  return SetTextResult(context, ListRegistrySubKeys(TextView(args, 0)));
}

TQ_ENTRY(RegistrySearch_Text) {
  return SetTextResult(context,
                    RegistrySearch(TextView(args, 0), TextView(args, 1), search_option::kDefault));
}
TQ_ENTRY(RegistrySearch_Options) {
  return SetTextResult(context,
                    RegistrySearch(TextView(args, 0), TextView(args, 1), IntegerArgument(args, 2)));
}

// The type alone: an absent default value has no type here (reads forgive it, this does not).
TQ_ENTRY(RegistryValueType_Name) {
  const std::optional<settings::RegistryBytes> value =
      settings::ReadRegistryBytes(TextView(args, 0), TextView(args, 1));
  return SetTextResult(context, value ? RegistryTypeName(value->type) : u"");
}
TQ_ENTRY(RegistryValueType_Index) {
  const int32_t index = IntegerArgument(args, 1);
  if (index == 0) {
    const std::optional<settings::RegistryBytes> value =
        settings::ReadRegistryBytes(TextView(args, 0), u"");
    return SetTextResult(context, value ? RegistryTypeName(value->type) : u"");
  }
  const RegistryData data = ReadRegistryValueAt(TextView(args, 0), index);
  return SetTextResult(context, data.read ? RegistryTypeName(data.type) : u"");
}

}  // namespace tq::entries

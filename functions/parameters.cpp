// Implementation entries of the persistent parameters: ParameterMode, ParameterSave,
// ParameterLoad and ParameterDelete.
#include <string>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "system/parameter_store.h"
#include "system/value_text.h"

namespace tq::entries {
namespace {

int32_t ModeResult(CallContext* c, ComponentProxy* p, int32_t mode,
                   std::optional<std::u16string_view> location) {
  return SetTextResult(c, ParameterStore::Of(p).SwitchMode(p, mode, location).value_or(u""));
}

int32_t LoadResult(CallContext* c, ComponentProxy* p, std::u16string_view name,
                   std::u16string_view defaultText) {
  const std::optional<std::u16string> text = ParameterStore::Of(p).Load(name);
  DynamicValue value;
  SetType(value, typecode::kString);
  Assign(*reinterpret_cast<VMString*>(value.payload), text ? *text : defaultText);
  SetResult(c, &value, typecode::kDynamic);
  return 0;
}

}  // namespace

TQ_ENTRY(ParameterMode_Mode) {
  return ModeResult(context, proxy, IntegerArgument(args, 0), std::nullopt);
}
TQ_ENTRY(ParameterMode_Location) {
  const char16_t* location = TextArgument(args, 1);
  return ModeResult(context, proxy, IntegerArgument(args, 0),
                    location != nullptr && *location != 0
                        ? std::optional<std::u16string_view>(location)
                        : std::nullopt);
}

TQ_ENTRY(ParameterSave_Value) {
  const std::optional<std::u16string> text = ValueAsText(*DynamicArgument(args, 1));
  ParameterStore::Of(proxy).Save(proxy, TextView(args, 0), text.value_or(u""));
  return 0;
}

TQ_ENTRY(ParameterLoad_Name) {
  return LoadResult(context, proxy, TextView(args, 0), u"");
}
TQ_ENTRY(ParameterLoad_Default) {
  return LoadResult(context, proxy, TextView(args, 0), TextView(args, 1));
}

// The window form names the window whose parameters (its group) are deleted.
TQ_ENTRY(ParameterDelete_Name) {
  return SetBooleanResult(context, ParameterStore::Of(proxy).Delete(proxy, TextView(args, 0)));
}
TQ_ENTRY(ParameterDelete_All) {
  return SetBooleanResult(context, ParameterStore::Of(proxy).DeleteAll());
}

}  // namespace tq::entries

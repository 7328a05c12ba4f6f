// Implementation entries of the runtime's location and update check: ExeInfo, UpdateInfo,
// UpdateSetting and UpdateCheckAndLaunch.
#include "frame/call_context.h"
#include "frame/exe_info.h"
#include "frame/update_check.h"
#include "frame/vm_string.h"
#include "functions/entry.h"

namespace tq::entries {
namespace {

int32_t InfoEntry(CallContext* c, ComponentProxy* p, void** args, const char16_t* path) {
  LocalString result;
  result.assign(UpdateInfo(p, IntegerArgument(args, 0), path));
  SetResult(c, result.address(), typecode::kText);
  return 0;
}

int32_t SettingEntry(CallContext* c, ComponentProxy* p, void** args, const char16_t* path) {
  const int32_t written =
      UpdateSetting(p, IntegerArgument(args, 0), TextArgument(args, 1), path) ? 1 : 0;
  SetResult(c, &written, typecode::kBoolean);
  return 0;
}

}  // namespace

TQ_ENTRY(ExeInfo_Key) {
  LocalString result;
  const char16_t* key = TextArgument(args, 0);
  result.assign(ExeInfo(key ? key : u"", nullptr));
  SetResult(context, result.address(), typecode::kText);
  return 0;
}

TQ_ENTRY(ExeInfo_File) {
  LocalString result;
  const char16_t* key = TextArgument(args, 0);
  result.assign(ExeInfo(key ? key : u"", TextArgument(args, 1)));
  SetResult(context, result.address(), typecode::kText);
  return 0;
}

TQ_ENTRY(UpdateInfo_Kind) { return InfoEntry(context, proxy, args, nullptr); }
TQ_ENTRY(UpdateInfo_File) { return InfoEntry(context, proxy, args, TextArgument(args, 1)); }
TQ_ENTRY(UpdateSetting_Kind) { return SettingEntry(context, proxy, args, nullptr); }
TQ_ENTRY(UpdateSetting_File) { return SettingEntry(context, proxy, args, TextArgument(args, 2)); }

TQ_ENTRY(UpdateCheckAndLaunch_Run) {
  const int32_t started = UpdateCheckAndLaunch(proxy) ? 1 : 0;
  SetResult(context, &started, typecode::kBoolean);
  return 0;
}

}  // namespace tq::entries

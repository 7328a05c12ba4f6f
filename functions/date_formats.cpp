// Implementation entries of the date and time display masks, their parsing, the system
// language and durations: DateToString, TimeToString, StringToDate, StringToTime,
// SystemLanguage, StringToDuration and DurationToString.
#include <optional>
#include <string>
#include <string_view>

#include "datetime/date_mask_functions.h"
#include "datetime/date_mask_settings.h"
#include "datetime/date_parse_functions.h"
#include "datetime/duration_functions.h"
#include "datetime/locale_items_language.h"
#include "frame/call_context.h"
#include "frame/thread_object.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"

namespace tq::entries {
namespace {

int32_t SetDurationResult(CallContext* context, int64_t duration) {
  SetResult(context, &duration, typecode::kDuration);
  return 0;
}

}  // namespace

TQ_ENTRY(DateToString_Date) {
  return SetTextResult(
      context, DateToString(TextView(args, 0), std::nullopt, RegionalSettings::OfCall(context), proxy),
      typecode::kText130);
}

TQ_ENTRY(DateToString_Mask) {
  // The text is written in a buffer kept by the thread, so that a loop of calls allocates
  // only the VM's string.
  std::u16string& shown = ThreadObject<std::u16string, struct DateToStringShown>();
  DateToString(TextView(args, 0), TextView(args, 1), RegionalSettings::OfCall(context), proxy, shown);
  return SetTextResult(context, shown, typecode::kText130);
}

TQ_ENTRY(TimeToString_Time) {
  return SetTextResult(
      context, TimeToString(TextView(args, 0), std::nullopt, RegionalSettings::OfCall(context), proxy),
      typecode::kText);
}

TQ_ENTRY(TimeToString_Mask) {
  return SetTextResult(
      context, TimeToString(TextView(args, 0), TextView(args, 1), RegionalSettings::OfCall(context), proxy),
      typecode::kText);
}

TQ_ENTRY(StringToDate_Text) {
  return SetTextResult(context,
                       StringToDate(TextView(args, 0), std::nullopt, RegionalSettings::OfCall(context)),
                       typecode::kText);
}

TQ_ENTRY(StringToDate_Mask) {
  std::u16string& read = ThreadObject<std::u16string, struct StringToDateRead>();  // as above
  StringToDate(TextView(args, 0), TextView(args, 1), RegionalSettings::OfCall(context), read);
  return SetTextResult(context, read, typecode::kText);
}

TQ_ENTRY(StringToTime_Text) {
  return SetTextResult(context,
                       StringToTime(TextView(args, 0), std::nullopt, RegionalSettings::OfCall(context)),
                       typecode::kText);
}

TQ_ENTRY(StringToTime_Mask) {
  return SetTextResult(
      context, StringToTime(TextView(args, 0), TextView(args, 1), RegionalSettings::OfCall(context)),
      typecode::kText);
}

TQ_ENTRY(SystemLanguage_Device) {
  const int32_t language = SystemLanguage(DeviceLanguageSources());
  SetResult(context, &language, typecode::kInteger);
  return 0;
}

TQ_ENTRY(StringToDuration_Form) {
  return SetDurationResult(context,
                           StringToDurationByForm(TextView(args, 0), IntegerArgument(args, 1)));
}

TQ_ENTRY(StringToDuration_Mask) {
  return SetDurationResult(context, StringToDurationByMask(TextView(args, 0), TextView(args, 1)));
}

TQ_ENTRY(DurationToString_Form) {
  return SetTextResult(context,
                       DurationToStringByForm(Integer64Argument(args, 0), IntegerArgument(args, 1)),
                       typecode::kText);
}

TQ_ENTRY(DurationToString_Mask) {
  return SetTextResult(context, DurationToStringByMask(Integer64Argument(args, 0), TextView(args, 1)),
                       typecode::kText);
}

}  // namespace tq::entries

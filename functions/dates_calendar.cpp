// Implementation entries of the calendar computations: WeekNumber, IntegerToWeekNumber,
// DateToWeekNumber, DateDifference, TimeDifference, DateTimeDifference, DateAge, EasterDate,
// WeekToDate, SerialToDate, DateToSerial, DateTimeToUnixTime and UnixTimeToDateTime.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "datetime/calendar_conversions.h"
#include "datetime/calendar_spans.h"
#include "datetime/calendar_weeks.h"
#include "datetime/clock.h"
#include "datetime/date_values.h"
#include "frame/call_context.h"
#include "frame/raise_error.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"

namespace tq::entries {
namespace {

// The day number of a date text read without raising anything.
std::optional<int32_t> SilentDayNumber(std::u16string_view text) {
  CivilDate date;
  int32_t number = 0;
  if (!ParseDateText(text, date, nullptr) ||
      !DateToDayNumber(date.day, date.month, date.year, number))
    return std::nullopt;
  return number;
}

int32_t WeekOfText(std::u16string_view text, bool iso) {
  const auto number = SilentDayNumber(text);
  if (!number) return -1;
  return (iso ? IsoWeekNumber(*number) : SimpleWeekNumber(*number)).value_or(-1);
}

std::u16string DateTextOfDay(std::optional<int32_t> dayNumber) {
  return dayNumber ? DayNumberToDateText(*dayNumber, u'\0', nullptr) : std::u16string();
}

// EasterDate's text form: the year as the text's leading number.
int64_t YearOfText(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && value < 100000; ++i)
    value = value * 10 + (text[i] - u'0');
  return negative ? -value : value;
}

}  // namespace

// ---- Week numbers ----------------------------------------------------------------------------

TQ_ENTRY(WeekNumber_Date) {
  return SetIntegerResult(context, WeekOfText(TextView(args, 0), false));
}

TQ_ENTRY(WeekNumber_Mode) {
  if (TextView(args, 1) != kIsoWeekMode) {
    RaiseError(proxy, date_error::kWeekMode);
    return SetIntegerResult(context, -1);
  }
  return SetIntegerResult(context, WeekOfText(TextView(args, 0), true));
}

TQ_ENTRY(IntegerToWeekNumber_Number) {
  const int32_t number = IntegerArgument(args, 0);
  const auto week = SimpleWeekNumber(number);
  if (!week) RaiseError(proxy, date_error::kNotADayNumber, {number});
  return SetIntegerResult(context, week.value_or(-1));
}

TQ_ENTRY(DateToWeekNumber_Date) {
  return SetIntegerResult(context, WeekOfText(TextView(args, 0), false));
}

TQ_ENTRY(WeekToDate_Mode) {
  const bool iso = TextView(args, 2) == kIsoWeekMode;
  return SetTextResult(context, DateTextOfDay(FirstDayOfWeek(IntegerArgument(args, 0),
                                                             IntegerArgument(args, 1), iso)));
}

TQ_ENTRY(WeekToDate_Simple) {
  return SetTextResult(context, DateTextOfDay(FirstDayOfWeek(IntegerArgument(args, 0),
                                                             IntegerArgument(args, 1), false)));
}

// ---- Differences and age ---------------------------------------------------------------------

TQ_ENTRY(DateDifference_Dates) {
  return SetIntegerResult(context, DateDifference(TextView(args, 0), TextView(args, 1), proxy));
}

TQ_ENTRY(TimeDifference_Times) {
  return SetIntegerResult(context, TimeDifference(TextView(args, 0), TextView(args, 1), proxy));
}

TQ_ENTRY(DateTimeDifference_DateTimes) {
  return SetTextResult(context, DateTimeDifference(TextView(args, 0), TextView(args, 1), proxy));
}

TQ_ENTRY(DateAge_Today) {
  return SetTextResult(context, DateAge(TextView(args, 0), CurrentDateText()));
}

TQ_ENTRY(DateAge_Reference) {
  const std::u16string_view reference = TextView(args, 1);
  return SetTextResult(context,
                       DateAge(TextView(args, 0), reference.empty() ? CurrentDateText() : reference));
}

// ---- Easter, serial numbers, Unix time -------------------------------------------------------

TQ_ENTRY(EasterDate_Year) {
  return SetTextResult(context, EasterDate(IntegerArgument(args, 0)));
}

TQ_ENTRY(EasterDate_Text) {
  return SetTextResult(context, EasterDate(YearOfText(TextView(args, 0))));
}

TQ_ENTRY(SerialToDate_Serial) {
  return SetTextResult(context, SerialToDate(RealArgument(args, 0), false));
}

TQ_ENTRY(SerialToDate_System) {
  return SetTextResult(context, SerialToDate(RealArgument(args, 0), IntegerArgument(args, 1) != 0));
}

TQ_ENTRY(DateToSerial_DateTime) {
  return SetRealResult(context, DateToSerial(TextView(args, 0), false));
}

TQ_ENTRY(DateToSerial_System) {
  return SetRealResult(context, DateToSerial(TextView(args, 0), IntegerArgument(args, 1) != 0));
}

TQ_ENTRY(DateTimeToUnixTime_DateTime) {
  return SetInteger64Result(context, DateTimeToUnixTime(TextView(args, 0), 0));
}

TQ_ENTRY(DateTimeToUnixTime_Flags) {
  return SetInteger64Result(context, DateTimeToUnixTime(TextView(args, 0), IntegerArgument(args, 1)));
}

TQ_ENTRY(UnixTimeToDateTime_Count) {
  return SetTextResult(context, UnixTimeToDateTime(Integer64Argument(args, 0), 0));
}

TQ_ENTRY(UnixTimeToDateTime_Flags) {
  return SetTextResult(context,
                       UnixTimeToDateTime(Integer64Argument(args, 0), IntegerArgument(args, 1)));
}

}  // namespace tq::entries

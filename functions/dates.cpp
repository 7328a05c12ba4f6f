// Implementation entries of the date and time values: SystemDate, SystemTime, SystemTimeParts,
// the integer conversions (IntegerToDate, IntegerToDayOfWeek, IntegerToTime, TimeToInteger,
// DateToInteger), the validity tests, the day and month names, DateToDayOfWeek, IsLeapYear,
// PreviousDay and NextDay.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "datetime/clock.h"
#include "datetime/date_values.h"
#include "datetime/name_lookup.h"
#include "frame/call_context.h"
#include "frame/vm_array.h"
#include "frame/vm_string.h"
#include "functions/entry.h"
#include "functions/entry_values.h"
#include "platform/device_clock.h"

namespace tq::entries {
namespace {

constexpr int64_t kDateValueScale = 1000000000;  // a date value's time takes 9 digits

// Date validity as DateValid tests it: a date text, or a date-time text of 12 to 17
// characters.
bool IsValidDateText(std::u16string_view text) {
  CivilDate date;
  return ParseDateText(text, date, nullptr);
}

bool IsValidTimeText(std::u16string_view text) {
  TimeOfDay time;
  return ParseTimeText(text, time, nullptr);
}

bool IsValidDateTimeText(std::u16string_view text) {
  CivilDate date;
  int32_t centiseconds = 0;
  return ReadDateSilently(text, date) && ReadTimeSilently(text.substr(8, 8), centiseconds);
}

// The month of a day number, 0 when the number is not a date.
int MonthOfDayNumber(int32_t dayNumber) {
  int32_t day = 0, month = 0, year = 0;
  return DayNumberToDate(dayNumber, day, month, year) ? month : 0;
}

// The day number of a date text; nullopt (with the parse error raised) when invalid.
std::optional<int32_t> DayNumberOfText(std::u16string_view text, ComponentProxy* errors) {
  CivilDate date;
  int32_t number = 0;
  if (!ParseDateText(text, date, errors) ||
      !DateToDayNumber(date.day, date.month, date.year, number))
    return std::nullopt;
  return number;
}

// The day before or after a date text (today when the text is empty); empty when invalid.
std::u16string ShiftedDate(std::u16string_view text, int32_t shift, ComponentProxy* errors) {
  const auto number = DayNumberOfText(text.empty() ? CurrentDateText() : text, errors);
  if (!number) return std::u16string();
  const int64_t shifted = static_cast<int64_t>(*number) + shift;
  if (shifted < INT32_MIN || shifted > INT32_MAX) return std::u16string();
  return DayNumberToDateText(static_cast<int32_t>(shifted), u'\0', errors);
}

// The date text of a date value (type 26: the digits YYYYMMDDHHMMSSmmm), empty when it holds
// no date.
std::u16string DateTextOfValue(int64_t value) {
  if (value <= 0) return std::u16string();
  const int64_t date = value / kDateValueScale;
  if (date > 99999999) return std::u16string();
  return FormatDateText(static_cast<int32_t>(date / 10000), static_cast<int32_t>(date / 100 % 100),
                        static_cast<int32_t>(date % 100));
}

int64_t DateValueOfText(std::u16string_view text) {
  int64_t digits = 0;
  for (char16_t c : text) digits = digits * 10 + (c - u'0');
  return text.size() == 8 ? digits * kDateValueScale : 0;
}

int32_t ShiftedDateValue(CallContext* context, ComponentProxy* proxy, void** args, int32_t shift) {
  const std::u16string text = DateTextOfValue(Integer64Argument(args, 0));
  const int64_t result = text.empty() ? 0 : DateValueOfText(ShiftedDate(text, shift, proxy));
  SetResult(context, &result, typecode::kDateTime);
  return 0;
}

// The leading number of a text, the way the runtime reads one: blanks, a sign, digits.
int64_t LeadingNumber(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    value = value * 10 + (text[i] - u'0');
  return negative ? -value : value;
}

int32_t CurrentYear() {
  ce::SYSTEMTIME now;
  ce::GetLocalTime(&now);
  return now.wYear;
}

}  // namespace

// ---- The device clock ------------------------------------------------------------------------

TQ_ENTRY(SystemDate_Read) {
  return SetTextResult(context, CurrentDateText());
}

TQ_ENTRY(SystemDate_Set) {
  SetDeviceDate(TextView(args, 0), proxy);
  return 0;
}

TQ_ENTRY(SystemTime_Read) {
  return SetTextResult(context, CurrentTimeText(context));
}

TQ_ENTRY(SystemTime_Set) {
  SetDeviceTime(TextView(args, 0), proxy);
  return 0;
}

TQ_ENTRY(SystemTimeParts_Read) {
  ce::SYSTEMTIME now{};
  LocalString text;
  text.assign(CurrentTimeText(context, &now));
  const CivilDate date{now.wYear, now.wMonth, now.wDay};
  const int64_t millisecondOfDay =
      ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * int64_t{1000} + now.wMilliseconds;
  const std::u16string dateTime = FormatDateTimeText17(date, millisecondOfDay);
  int64_t packed = 0;
  for (char16_t c : dateTime) packed = packed * 10 + (c - u'0');
  char16_t dateChars[9] = {};
  char16_t timeChars[10] = {};
  dateTime.copy(dateChars, 8, 0);
  dateTime.copy(timeChars, 9, 8);

  VMObject* array = CreateArray(context, 4);
  if (array != nullptr) {
    SetArrayElement(context, array, 0, text.address(), typecode::kText);
    SetArrayElement(context, array, 1, &packed, typecode::kDateTime);
    SetArrayElement(context, array, 2, dateChars, typecode::kDate);
    SetArrayElement(context, array, 3, timeChars, typecode::kTime);
  }
  SetResult(context, &array, kArrayTypeCode);
  ReleaseArray(array);
  return 0;
}

// ---- Integer forms ---------------------------------------------------------------------------

TQ_ENTRY(IntegerToDate_Number) {
  return SetTextResult(context, DayNumberToDateText(IntegerArgument(args, 0), u'\0', proxy));
}

TQ_ENTRY(IntegerToDate_Component) {
  const std::u16string_view selector = TextView(args, 1);
  return SetTextResult(context, DayNumberToDateText(IntegerArgument(args, 0),
                                                    selector.empty() ? u'\0' : selector[0], proxy));
}

TQ_ENTRY(IntegerToDayOfWeek_Number) {
  return SetIntegerResult(context, DayOfWeekNumber(IntegerArgument(args, 0)));
}

TQ_ENTRY(IntegerToTime_Number) {
  return SetTextResult(context, TimeIntegerToText(IntegerArgument(args, 0), proxy));
}

TQ_ENTRY(TimeToInteger_Text) {
  return SetIntegerResult(context, TimeTextToInteger(TextView(args, 0), proxy));
}

TQ_ENTRY(DateToInteger_Text) {
  return SetIntegerResult(context, DateTextToDayNumber(TextView(args, 0), false, proxy));
}

TQ_ENTRY(DateToInteger_DayOfYear) {
  return SetIntegerResult(context,
                          DateTextToDayNumber(TextView(args, 0), IntegerArgument(args, 1) != 0, proxy));
}

// ---- Silent validity tests -------------------------------------------------------------------

TQ_ENTRY(DateValid_Text) {
  return SetBooleanResult(context, IsValidDateText(TextView(args, 0)));
}

TQ_ENTRY(TimeValid_Text) {
  return SetIntegerResult(context, IsValidTimeText(TextView(args, 0)) ? 1 : 0);
}

TQ_ENTRY(DateTimeValid_Text) {
  return SetBooleanResult(context, IsValidDateTimeText(TextView(args, 0)));
}

// ---- Days of the week and names --------------------------------------------------------------

TQ_ENTRY(IntegerToDayName_Number) {
  return SetTextResult(context, DayNameForCall(context, DayOfWeekIndex(IntegerArgument(args, 0))),
                       typecode::kText130);
}

TQ_ENTRY(IntegerToMonthName_Number) {
  return SetTextResult(context,
                       MonthNameForCall(context, MonthOfDayNumber(IntegerArgument(args, 0))),
                       typecode::kText130);
}

TQ_ENTRY(DateToDayOfWeek_Text) {
  const auto number = DayNumberOfText(TextView(args, 0), proxy);
  return SetIntegerResult(context, number ? DayOfWeekNumber(*number) : -1);
}

TQ_ENTRY(DateToDayName_Text) {
  const auto number = DayNumberOfText(TextView(args, 0), proxy);
  return SetTextResult(context, number ? DayNameForCall(context, DayOfWeekIndex(*number)) : u"",
                       typecode::kText130);
}

TQ_ENTRY(DateToMonthName_Text) {
  CivilDate date;
  std::u16string name;
  if (ParseDateText(TextView(args, 0), date, proxy)) name = MonthNameForCall(context, date.month);
  return SetTextResult(context, name);
}

// ---- Leap years, previous and next day -------------------------------------------------------

TQ_ENTRY(IsLeapYear_Text) {
  const std::u16string_view text = TextView(args, 0);
  const int64_t year = LeadingNumber(text.substr(0, 4));
  const bool startsWithZero = !text.empty() && text[0] == u'0';
  return SetBooleanResult(context,
                          (year >= 1 || startsWithZero) && IsLeapYear(static_cast<int32_t>(year)));
}

TQ_ENTRY(IsLeapYear_Year) {
  const int32_t year = IntegerArgument(args, 0);
  return SetBooleanResult(context, IsLeapYear(year < 0 ? CurrentYear() : year));
}

TQ_ENTRY(IsLeapYear_Current) {
  return SetBooleanResult(context, IsLeapYear(CurrentYear()));
}

TQ_ENTRY(PreviousDay_Text) {
  return SetTextResult(context, ShiftedDate(TextView(args, 0), -1, proxy));
}
TQ_ENTRY(PreviousDay_Today) {
  return SetTextResult(context, ShiftedDate({}, -1, proxy));
}
TQ_ENTRY(PreviousDay_Value) {
  return ShiftedDateValue(context, proxy, args, -1);
}

TQ_ENTRY(NextDay_Text) {
  return SetTextResult(context, ShiftedDate(TextView(args, 0), 1, proxy));
}
TQ_ENTRY(NextDay_Today) {
  return SetTextResult(context, ShiftedDate({}, 1, proxy));
}
TQ_ENTRY(NextDay_Value) {
  return ShiftedDateValue(context, proxy, args, 1);
}

}  // namespace tq::entries

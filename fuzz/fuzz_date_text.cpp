// The date and time text readers and the calendar functions built on them, on arbitrary text.
// Each input byte becomes one UTF-16 unit (so digits are frequent); a byte 0xFF splits the
// input into two texts for the two-argument functions. Whatever is read must be a real date
// or time that prints back as it was read; every result has its fixed form or is empty.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "datetime/calendar_conversions.h"
#include "datetime/calendar_spans.h"
#include "datetime/calendar_weeks.h"
#include "datetime/date_values.h"
#include "frame/component_proxy.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

tq::ComponentProxy* Proxy() {
  static tq::ComponentProxy* proxy = [] {
    setenv("TQ_TZ", "Europe/Paris", 1);
    return tq::CreateComponentProxy(tq::ThisLibrary());
  }();
  return proxy;
}

void CheckDateText(std::u16string_view text, tq::ComponentProxy* proxy) {
  tq::CivilDate date;
  if (!tq::ParseDateText(text, date, proxy)) return;
  int32_t number = 0;
  Require(tq::DateToDayNumber(date.day, date.month, date.year, number));
  tq::CivilDate back;
  Require(tq::DayNumberToDate(number, back.day, back.month, back.year));
  Require(back.year == date.year && back.month == date.month && back.day == date.day);
  Require(tq::FormatDateText(date.year, date.month, date.day) == text.substr(0, 8));
  Require(tq::SimpleWeekNumber(number).has_value());
}

void CheckTimeText(std::u16string_view text, tq::ComponentProxy* proxy) {
  const int32_t centiseconds = tq::TimeTextToInteger(text, proxy);
  Require(centiseconds >= -1 && centiseconds < tq::kCentisecondsPerDay);
  if (centiseconds >= 0) Require(tq::TimeIntegerToText(centiseconds, proxy).size() == 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tq::ComponentProxy* proxy = Proxy();
  std::u16string first, second;
  bool split = false;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF && !split) {
      split = true;
      continue;
    }
    (split ? second : first) += static_cast<char16_t>(data[i]);
  }
  CheckDateText(first, proxy);
  CheckDateText(first, nullptr);
  CheckTimeText(first, proxy);
  tq::Reset(tq::ErrorStateOf(proxy));

  const std::u16string difference = tq::DateTimeDifference(first, second, nullptr);
  Require(difference.empty() || difference.size() == 16);
  const std::u16string age = tq::DateAge(first, second);
  Require(age.empty() || age.size() == 8);
  tq::DateDifference(first, second, nullptr);
  tq::TimeDifference(first, second, nullptr);

  const double serial = tq::DateToSerial(first, false);
  if (serial >= 1) Require(tq::SerialToDate(serial, false).size() == 17);
  const int64_t unixMs = tq::DateTimeToUnixTime(first, tq::kUnixTimeMilliseconds);
  if (unixMs >= 0) Require(tq::UnixTimeToDateTime(unixMs, tq::kUnixTimeMilliseconds).size() == 17);
  return 0;
}

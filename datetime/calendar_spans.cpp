// Spans between dates and times.
#include "datetime/calendar_spans.h"

#include <cmath>

#include "datetime/date_values.h"
#include "frame/raise_error.h"

namespace tq {
namespace {

bool SilentDayNumber(std::u16string_view text, int32_t& dayNumber) {
  CivilDate date;
  return ReadDateSilently(text, date) &&
         DateToDayNumber(date.day, date.month, date.year, dayNumber);
}

// A date-time text read silently: the date, then up to 8 characters of time.
bool SilentDateTime(std::u16string_view text, int32_t& dayNumber, int32_t& centiseconds) {
  if (!SilentDayNumber(text, dayNumber)) return false;
  return ReadTimeSilently(text.substr(8, 8), centiseconds);
}

void Raise(ComponentProxy* errors, uint32_t id) {
  if (errors != nullptr) RaiseError(errors, id);
}

void AppendPadded(std::u16string& out, uint64_t value, int width) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  for (int i = static_cast<int>(digits.size()); i < width; ++i) out += u'0';
  out += digits;
}

}  // namespace

int32_t DateDifference(std::u16string_view a, std::u16string_view b, ComponentProxy* errors) {
  int32_t first = 0, second = 0;
  if (!SilentDayNumber(a, first) || !SilentDayNumber(b, second)) {
    Raise(errors, date_error::kDifferenceDate);
    return -1;
  }
  return second - first;
}

int32_t TimeDifference(std::u16string_view a, std::u16string_view b, ComponentProxy* errors) {
  int32_t first = 0, second = 0;
  if (!ReadTimeSilently(a, first) || !ReadTimeSilently(b, second)) {
    Raise(errors, date_error::kDifferenceTime);
    return -1;
  }
  return second - first;
}

std::u16string DateTimeDifference(std::u16string_view a, std::u16string_view b,
                                  ComponentProxy* errors) {
  int32_t dayA = 0, csA = 0, dayB = 0, csB = 0;
  if (!SilentDateTime(a, dayA, csA) || !SilentDateTime(b, dayB, csB)) {
    Raise(errors, date_error::kDifferenceDate);
    return std::u16string();
  }
  // Computed as a double, the way the figures were always produced; every value involved is
  // an integer well below 2^53, so the result is exact.
  const double difference =
      (static_cast<double>(dayB) - dayA) * kCentisecondsPerDay + (static_cast<double>(csB) - csA);
  uint64_t rest = static_cast<uint64_t>(std::fabs(difference));
  const uint64_t days = rest / kCentisecondsPerDay;
  rest %= kCentisecondsPerDay;
  std::u16string out(difference < 0 ? u"-" : u"+");
  AppendPadded(out, days, 7);
  AppendPadded(out, rest / 360000, 2);
  AppendPadded(out, rest / 6000 % 60, 2);
  AppendPadded(out, rest / 100 % 60, 2);
  AppendPadded(out, rest % 100, 2);
  return out;
}

std::u16string DateAge(std::u16string_view dateText, std::u16string_view referenceText) {
  CivilDate date, reference;
  if (!ParseDateText(dateText, date, nullptr) || !ParseDateText(referenceText, reference, nullptr))
    return std::u16string();
  int32_t dateNumber = 0, referenceNumber = 0;
  if (!DateToDayNumber(date.day, date.month, date.year, dateNumber) ||
      !DateToDayNumber(reference.day, reference.month, reference.year, referenceNumber) ||
      dateNumber > referenceNumber)
    return std::u16string();
  int32_t years = reference.year - date.year;
  int32_t months = reference.month - date.month;
  int32_t days = 0;
  if (reference.month < date.month) {
    months += 12;
    years -= 1;
  }
  if (reference.day >= date.day) {
    days = reference.day - date.day;
  } else {
    // Borrow the month before the reference month.
    const int32_t previous = reference.month == 1 ? 12 : reference.month - 1;
    int32_t length = MonthLength(previous, 2001);  // the table length
    if (previous == 2 && IsLeapYear(reference.year)) length = 29;
    days = date.day > length ? reference.day - 1 : reference.day + (length - date.day);
    if (months == 0) {
      months = 11;
      years -= 1;
    } else {
      months -= 1;
    }
  }
  if (years > 9999 || months >= 12 || days >= 31) return std::u16string();
  return FormatDateText(years, months, days);
}

}  // namespace tq

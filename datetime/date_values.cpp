// Date and time values: calendar rules, the day number, the digit texts and the time integer.
//
// How days are counted: every date is first turned into a "fixed" count where Gregorian
// 0001-01-01 is 1; the day number is that count less 657071. Dates from 1582-10-15 on use the
// Gregorian calendar, earlier dates the Julian one (with its every-fourth-year leap rule), so
// 1582-10-04 is directly followed by 1582-10-15 and every number converts back to the date it
// came from. The ten dropped days (1582-10-05..14) are valid Julian dates as far as the
// conversion goes; the validity checks reject them.
#include "datetime/date_values.h"

#include <initializer_list>

#include "frame/raise_error.h"

namespace tq {
namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// The fixed count of Julian 0000-01-01 and of Gregorian 1582-10-15 (the reform).
constexpr int64_t kJulianYearZeroFixed = -367;
constexpr int64_t kReformFixed = 577736;

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
int64_t FloorMod(int64_t a, int64_t b) {
  return a - FloorDiv(a, b) * b;
}

bool BeforeReform(int64_t year, int month, int day) {
  if (year != 1582) return year < 1582;
  return month < 10 || (month == 10 && day < 15);
}

int64_t DayOfYearBase(int64_t year, int month) {
  return kDaysBefore[month - 1] + ((month > 2 && IsLeapYear(static_cast<int32_t>(year))) ? 1 : 0);
}

int64_t GregorianFixed(int64_t year, int month, int day) {
  const int64_t y = year - 1;
  return y * 365 + FloorDiv(y, 4) - FloorDiv(y, 100) + FloorDiv(y, 400) +
         DayOfYearBase(year, month) + day;
}

int64_t JulianFixed(int64_t year, int month, int day) {
  const int64_t y = year - 1;
  return y * 365 + FloorDiv(y, 4) + DayOfYearBase(year, month) + day - 2;
}

// Year and 0-based day of the year of a fixed count, Gregorian calendar.
void GregorianYear(int64_t fixed, int64_t& year, int64_t& dayOfYear) {
  const int64_t d0 = fixed - 1;  // days since 0001-01-01
  const int64_t cycles400 = FloorDiv(d0, 146097);
  const int64_t d1 = FloorMod(d0, 146097);
  const int64_t cycles100 = d1 / 36524;
  const int64_t d2 = d1 % 36524;
  const int64_t cycles4 = d2 / 1461;
  const int64_t d3 = d2 % 1461;
  const int64_t years = d3 / 365;
  year = 400 * cycles400 + 100 * cycles100 + 4 * cycles4 + years;
  if (cycles100 == 4 || years == 4) {  // the last day of a leap cycle
    dayOfYear = 365;
    return;
  }
  year += 1;
  dayOfYear = d3 % 365;
}

// The same in the Julian calendar; the cycle starts with the leap year 0.
void JulianYear(int64_t fixed, int64_t& year, int64_t& dayOfYear) {
  const int64_t g = fixed - kJulianYearZeroFixed;
  const int64_t cycles = FloorDiv(g, 1461);
  int64_t rest = FloorMod(g, 1461);
  year = 4 * cycles;
  if (rest < 366) {
    dayOfYear = rest;
    return;
  }
  rest -= 366;
  year += 1 + rest / 365;
  dayOfYear = rest % 365;
}

void Report(ComponentProxy* errors, uint32_t id, std::initializer_list<MessageArg> args = {}) {
  if (errors != nullptr) RaiseError(errors, id, args);
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool AllDigits(std::u16string_view text) {
  for (char16_t c : text)
    if (!IsDigit(c)) return false;
  return true;
}

// Decimal value of a run of digits (the caller checked them).
int32_t DigitsValue(std::u16string_view digits) {
  int32_t value = 0;
  for (char16_t c : digits) value = value * 10 + (c - u'0');
  return value;
}

// Decimal value of the `count` digits at `first` (checked by the caller), without the bounds
// checks of substr: the date and time texts are read on every formatting call.
int32_t DigitsAt(const char16_t* first, int count) {
  int32_t value = 0;
  for (int i = 0; i < count; ++i) value = value * 10 + (first[i] - u'0');
  return value;
}

void AppendNumber(std::u16string& out, int64_t value, int width) {
  char16_t buffer[24];
  int length = 0;
  const bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    buffer[length++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) out += u'-';
  for (int i = length + (negative ? 1 : 0); i < width; ++i) out += u'0';
  while (length > 0) out += buffer[--length];
}

}  // namespace

ce::SYSTEMTIME SystemTimeFromParts(const DateParts& p) {
  return ce::SYSTEMTIME{p.year, p.month,  p.dayOfWeek, p.day,
                        p.hour, p.minute, p.second,    p.millisecond};
}

DateParts PartsFromSystemTime(const ce::SYSTEMTIME& t) {
  return DateParts{t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                   t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

bool IsLeapYear(int32_t year) {
  return year % 4 == 0 && (year < 1583 || year % 100 != 0 || year % 400 == 0);
}

int MonthLength(int32_t month, int32_t year) {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

bool DateToDayNumber(int32_t day, int32_t month, int32_t year, int32_t& dayNumber) {
  if (year < 0 || month < 1 || month > 12 || day < 1 || day > MonthLength(month, year))
    return false;
  const int64_t fixed = BeforeReform(year, month, day) ? JulianFixed(year, month, day)
                                                       : GregorianFixed(year, month, day);
  const int64_t number = fixed - kDayNumberShift;
  if (number < INT32_MIN || number > INT32_MAX) return false;
  dayNumber = static_cast<int32_t>(number);
  return true;
}

bool DayNumberToDate(int32_t dayNumber, int32_t& day, int32_t& month, int32_t& year) {
  const int64_t fixed = static_cast<int64_t>(dayNumber) + kDayNumberShift;
  if (fixed < kJulianYearZeroFixed) return false;  // before year 0
  int64_t y = 0;
  int64_t dayOfYear = 0;
  if (fixed >= kReformFixed)
    GregorianYear(fixed, y, dayOfYear);
  else
    JulianYear(fixed, y, dayOfYear);
  int m = 1;
  while (dayOfYear >= MonthLength(m, static_cast<int32_t>(y))) {
    dayOfYear -= MonthLength(m, static_cast<int32_t>(y));
    ++m;
  }
  year = static_cast<int32_t>(y);
  month = m;
  day = static_cast<int32_t>(dayOfYear) + 1;
  return true;
}

int DayOfWeekIndex(int32_t dayNumber) {
  return static_cast<int>(FloorMod(static_cast<int64_t>(dayNumber) + kDayNumberShift, 7));
}

int DayOfWeekNumber(int32_t dayNumber) {
  const int index = DayOfWeekIndex(dayNumber);
  return index == 0 ? 7 : index;
}

bool CheckDate(int32_t year, int32_t month, int32_t day, ComponentProxy* errors) {
  if (year == 0) {
    Report(errors, date_error::kYearZero);
    return false;
  }
  if (year == 1582 && month == 10 && day >= 5 && day <= 14) {
    Report(errors, date_error::kReformGap);
    return false;
  }
  if (month < 1 || month > 12) {
    Report(errors, date_error::kMonthRange);
    return false;
  }
  const int tableLength = month == 2 ? 29 : kMonthDays[month - 1];
  if (day < 1 || day > tableLength) {
    Report(errors, date_error::kDayRange, {static_cast<int32_t>(tableLength)});
    return false;
  }
  if (month == 2 && day == 29 && !IsLeapYear(year)) {
    Report(errors, date_error::kNotLeapYear);
    return false;
  }
  return true;
}

bool IsValidDateSilently(int32_t year, int32_t month, int32_t day) {
  return year >= 1 && CheckDate(year, month, day, nullptr);
}

bool ParseDateText(std::u16string_view text, CivilDate& date, ComponentProxy* errors) {
  if (text.size() == 8) {
    if (!AllDigits(text)) {
      Report(errors, date_error::kDateNotDigits);
      return false;
    }
    const char16_t* digits = text.data();
    const CivilDate read{DigitsAt(digits, 4), DigitsAt(digits + 4, 2), DigitsAt(digits + 6, 2)};
    if (!CheckDate(read.year, read.month, read.day, errors)) return false;
    date = read;
    return true;
  }
  if (text.size() >= 12) {
    TimeOfDay ignored;
    return ParseDateTimeText(text, date, ignored, errors);
  }
  Report(errors, date_error::kDateLength);
  return false;
}

namespace {

// The range checks of a time read from its digits, in the order their errors are raised.
bool CheckTime(const TimeOfDay& read, ComponentProxy* errors) {
  if (read.second >= 60) {
    Report(errors, date_error::kSecondRange, {read.second});
    return false;
  }
  if (read.minute >= 60) {
    Report(errors, date_error::kMinuteRange, {read.minute});
    return false;
  }
  if (read.hour >= 24) {
    Report(errors, date_error::kHourRange, {read.hour});
    return false;
  }
  return true;
}

// The fields of a time from its 9 digit values (the digits a shorter text lacks are 0).
TimeOfDay TimeOfDigits(const uint8_t* field) {
  TimeOfDay read;
  read.hour = field[0] * 10 + field[1];
  read.minute = field[2] * 10 + field[3];
  read.second = field[4] * 10 + field[5];
  read.millisecond = field[6] * 100 + field[7] * 10 + field[8];
  read.centisecond = read.millisecond / 10;
  return read;
}

// The values of the characters of `text` taken as digits; false when one is not a digit.
bool DigitValues(std::u16string_view text, uint8_t* values) {
  DigitRun run;
  for (size_t i = 0; i < text.size(); ++i) values[i] = static_cast<uint8_t>(run.Take(text[i]));
  return run.allDigits();
}

}  // namespace

bool ParseTimeText(std::u16string_view text, TimeOfDay& time, ComponentProxy* errors) {
  if (text.size() > 9) {
    CivilDate ignored;
    return ParseDateTimeText(text, ignored, time, errors);
  }
  uint8_t digits[9] = {};
  if (!DigitValues(text, digits)) {
    Report(errors, date_error::kTimeNotDigits);
    return false;
  }
  const TimeOfDay read = TimeOfDigits(digits);
  if (!CheckTime(read, errors)) return false;
  time = read;
  return true;
}

bool ParseDateTimeText(std::u16string_view text, CivilDate& date, TimeOfDay& time,
                       ComponentProxy* errors) {
  if (text.size() < 8 || text.size() > 17) {
    Report(errors, date_error::kDateTimeLength, {text});
    return false;
  }
  uint8_t d[17] = {};
  if (DigitValues(text, d)) {  // the common case, read in one pass; the same checks in order
    const CivilDate readDate{d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3], d[4] * 10 + d[5],
                             d[6] * 10 + d[7]};
    if (!CheckDate(readDate.year, readDate.month, readDate.day, errors)) return false;
    const TimeOfDay readTime = TimeOfDigits(d + 8);
    if (!CheckTime(readTime, errors)) return false;
    date = readDate;
    time = readTime;
    return true;
  }
  CivilDate readDate;
  TimeOfDay readTime;
  if (!ParseDateText(text.substr(0, 8), readDate, errors)) return false;
  if (!ParseTimeText(text.substr(8), readTime, errors)) return false;
  date = readDate;
  time = readTime;
  return true;
}

bool ReadDateSilently(std::u16string_view text, CivilDate& date) {
  if (text.size() < 8 || !AllDigits(text.substr(0, 8))) return false;
  const CivilDate read{DigitsValue(text.substr(0, 4)), DigitsValue(text.substr(4, 2)),
                       DigitsValue(text.substr(6, 2))};
  if (!IsValidDateSilently(read.year, read.month, read.day)) return false;
  date = read;
  return true;
}

bool ReadTimeSilently(std::u16string_view text, int32_t& centiseconds) {
  const std::u16string_view used = text.substr(0, 8);
  if (!AllDigits(used)) return false;
  char16_t field[8] = {u'0', u'0', u'0', u'0', u'0', u'0', u'0', u'0'};
  for (size_t i = 0; i < used.size(); ++i) field[i] = used[i];
  const std::u16string_view digits(field, 8);
  const int32_t hour = DigitsValue(digits.substr(0, 2));
  const int32_t minute = DigitsValue(digits.substr(2, 2));
  const int32_t second = DigitsValue(digits.substr(4, 2));
  if (hour >= 24 || minute > 59 || second > 59) return false;
  centiseconds = ((hour * 60 + minute) * 60 + second) * 100 + DigitsValue(digits.substr(6, 2));
  return true;
}

std::u16string FormatDateText(int32_t year, int32_t month, int32_t day) {
  std::u16string out;
  out.reserve(8);
  AppendNumber(out, year, 4);
  AppendNumber(out, month, 2);
  AppendNumber(out, day, 2);
  return out;
}

std::u16string FormatTimeText(int32_t hour, int32_t minute, int32_t second, int32_t centisecond) {
  std::u16string out;
  out.reserve(8);
  AppendNumber(out, hour, 2);
  AppendNumber(out, minute, 2);
  AppendNumber(out, second, 2);
  AppendNumber(out, centisecond, 2);
  return out;
}

std::u16string FormatDateTimeText17(const CivilDate& date, int64_t millisecondOfDay) {
  std::u16string out = FormatDateText(date.year, date.month, date.day);
  AppendNumber(out, millisecondOfDay / 3600000, 2);
  AppendNumber(out, millisecondOfDay / 60000 % 60, 2);
  AppendNumber(out, millisecondOfDay / 1000 % 60, 2);
  AppendNumber(out, millisecondOfDay % 1000, 3);
  return out;
}

int32_t DateTextToDayNumber(std::u16string_view text, bool dayOfYear, ComponentProxy* errors) {
  CivilDate date;
  if (!ParseDateText(text, date, errors)) return -1;
  int32_t number = 0;
  if (!DateToDayNumber(date.day, date.month, date.year, number)) return -1;
  if (!dayOfYear) return number;
  int32_t january1 = 0;
  if (!DateToDayNumber(1, 1, date.year, january1)) return -1;
  return number - january1 + 1;
}

std::u16string DayNumberToDateText(int32_t dayNumber, char16_t selector, ComponentProxy* errors) {
  int32_t day = 0, month = 0, year = 0;
  if (!DayNumberToDate(dayNumber, day, month, year)) {
    Report(errors, date_error::kNotADayNumber, {dayNumber});
    return std::u16string();
  }
  std::u16string out;
  switch (selector) {
    case u'a':
    case u'A':
    case u'y':
    case u'Y':
      AppendNumber(out, year, 4);
      break;
    case u'd':
    case u'D':
    case u'j':
    case u'J':
      AppendNumber(out, day, 2);
      break;
    case u'm':
    case u'M':
      AppendNumber(out, month, 2);
      break;
    default:
      out = FormatDateText(year, month, day);
      break;
  }
  return out;
}

std::u16string TimeIntegerToText(int64_t centiseconds, ComponentProxy* errors) {
  if (centiseconds < 0) {
    Report(errors, date_error::kTimeNegative);
    return std::u16string();
  }
  if (centiseconds > kCentisecondsPerDay) {
    Report(errors, date_error::kTimeTooLarge);
    return std::u16string();
  }
  const int32_t cs = static_cast<int32_t>(centiseconds);
  return FormatTimeText(cs / 360000, cs / 6000 % 60, cs / 100 % 60, cs % 100);
}

int32_t TimeTextToInteger(std::u16string_view text, ComponentProxy* errors) {
  TimeOfDay time;
  if (!ParseTimeText(text, time, errors)) return -1;
  return ((time.hour * 60 + time.minute) * 60 + time.second) * 100 + time.centisecond;
}

}  // namespace tq

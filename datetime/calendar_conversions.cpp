// Easter, spreadsheet serial numbers and Unix time.
#include "datetime/calendar_conversions.h"

#include <cmath>

#include "datetime/date_values.h"
#include "datetime/rfc3339_time_zone.h"

namespace tq {
namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int32_t kSerialBase1900 = 36524;     // day number of 1899-12-31 (serial 0)
constexpr int32_t kSerialBase1904 = 37985;     // day number of 1904-01-01 (serial 0)
constexpr int32_t kLastTrueSerialDay = 36583;  // day number of 1900-02-28

int64_t MillisecondOfDay(const TimeOfDay& t) {
  return ((t.hour * 60 + t.minute) * 60 + t.second) * int64_t{1000} + t.millisecond;
}

// The 1900 system's phantom February 29, as a date-time text (time ignored).
bool IsPhantomLeapDay(std::u16string_view dateTime) {
  return dateTime.substr(0, 8) == u"19000229";
}

bool ToSystemTime(int32_t dayNumber, int64_t millisecondOfDay, ce::SYSTEMTIME& out) {
  int32_t day = 0, month = 0, year = 0;
  if (!DayNumberToDate(dayNumber, day, month, year) || year < 1 || year > 0xFFFF) return false;
  out.wYear = static_cast<ce::WORD>(year);
  out.wMonth = static_cast<ce::WORD>(month);
  out.wDayOfWeek = static_cast<ce::WORD>(DayOfWeekIndex(dayNumber));
  out.wDay = static_cast<ce::WORD>(day);
  out.wHour = static_cast<ce::WORD>(millisecondOfDay / 3600000);
  out.wMinute = static_cast<ce::WORD>(millisecondOfDay / 60000 % 60);
  out.wSecond = static_cast<ce::WORD>(millisecondOfDay / 1000 % 60);
  out.wMilliseconds = static_cast<ce::WORD>(millisecondOfDay % 1000);
  return true;
}

}  // namespace

std::u16string EasterDate(int64_t year) {
  if (year < 1583 || year > 9999) return std::u16string();
  // The computus repeats every 5,700,000 years; shifting by that period keeps every quantity
  // positive.
  const int64_t y = year + 5700000;
  const int64_t a = y % 19, b = y / 100, r = y % 100;
  const int64_t d = b / 4, e = b % 4, f = (b + 8) / 25, g = (b - f + 1) / 3;
  const int64_t h = (19 * a + b - d - g + 15) % 30;
  const int64_t i = r / 4, k = r % 4;
  const int64_t l = (32 + 2 * e + 2 * i - h - k) % 7;
  const int64_t m = (a + 11 * h + 22 * l) / 451;
  const int64_t month = (h + l - 7 * m + 114) / 31;
  const int64_t day = (h + l - 7 * m + 114) % 31 + 1;
  return FormatDateText(static_cast<int32_t>(year), static_cast<int32_t>(month),
                        static_cast<int32_t>(day));
}

double DateToSerial(std::u16string_view dateTime, bool system1904) {
  if (!system1904 && IsPhantomLeapDay(dateTime) && dateTime.size() <= 17) return 60.0;
  CivilDate date;
  TimeOfDay time;
  int32_t n = 0;
  if (!ParseDateTimeText(dateTime, date, time, nullptr) ||
      !DateToDayNumber(date.day, date.month, date.year, n))
    return -1.0;
  const int64_t ms = MillisecondOfDay(time);
  double serial = 0;
  if (system1904) {
    serial = static_cast<double>(ms) / 86400000.0 + (static_cast<int64_t>(n) - kSerialBase1904);
    return serial < 0 ? -1.0 : serial;
  }
  serial = static_cast<double>(ms) * 1.1574074074074074e-8 +
           static_cast<double>(static_cast<int64_t>(n) - kSerialBase1900);
  if (n > kLastTrueSerialDay) serial += 1.0;
  return serial < 1 ? -1.0 : serial;
}

std::u16string SerialToDate(double serial, bool system1904) {
  if (std::isnan(serial) || serial < (system1904 ? 0.0 : 1.0) || serial >= 2147483647.0)
    return std::u16string();
  double whole = std::floor(serial);
  int64_t ms = std::llround((serial - whole) * 86400000.0);
  if (ms >= kMsPerDay) {  // a fraction that rounds up to the next day
    ms -= kMsPerDay;
    whole += 1;
  }
  const int64_t serialDay = static_cast<int64_t>(whole);
  if (!system1904 && serialDay == 60) return FormatDateTimeText17(CivilDate{1900, 2, 29}, ms);
  int64_t number = serialDay + (system1904 ? kSerialBase1904 : kSerialBase1900);
  if (!system1904 && serialDay >= 61) number -= 1;
  if (number > INT32_MAX) return std::u16string();
  CivilDate date;
  if (!DayNumberToDate(static_cast<int32_t>(number), date.day, date.month, date.year))
    return std::u16string();
  return FormatDateTimeText17(date, ms);
}

int64_t DateTimeToUnixTime(std::u16string_view dateTime, int32_t flags) {
  CivilDate date;
  TimeOfDay time;
  int32_t n = 0;
  if (!ParseDateTimeText(dateTime, date, time, nullptr) ||
      !DateToDayNumber(date.day, date.month, date.year, n))
    return -1;
  ce::SYSTEMTIME local{};
  if (!ToSystemTime(n, MillisecondOfDay(time), local)) return -1;
  ce::SYSTEMTIME utc{};
  if (!LocalToUtc(local, utc)) return -1;
  int32_t utcNumber = 0;
  if (!DateToDayNumber(utc.wDay, utc.wMonth, utc.wYear, utcNumber)) return -1;
  const int64_t utcMs =
      ((utc.wHour * 60 + utc.wMinute) * 60 + utc.wSecond) * int64_t{1000} + utc.wMilliseconds;
  const int64_t count = (static_cast<int64_t>(utcNumber) - kUnixEpochDayNumber) * kMsPerDay + utcMs;
  if (count < 0) return -1;
  return (flags & kUnixTimeMilliseconds) ? count : count / 1000;
}

std::u16string UnixTimeToDateTime(int64_t count, int32_t flags) {
  if (count < 0) return std::u16string();
  // Beyond the year 30827 no device record holds the moment; this bound also keeps the
  // multiplication below from overflowing.
  constexpr int64_t kLastMs = int64_t{910692730085} * 1000;
  if (!(flags & kUnixTimeMilliseconds) && count > kLastMs / 1000) return std::u16string();
  const int64_t ms = (flags & kUnixTimeMilliseconds) ? count : count * 1000;
  if (ms > kLastMs) return std::u16string();
  const int64_t days = ms / kMsPerDay;
  ce::SYSTEMTIME utc{};
  if (!ToSystemTime(static_cast<int32_t>(days + kUnixEpochDayNumber), ms % kMsPerDay, utc))
    return std::u16string();
  ce::SYSTEMTIME local{};
  if (!UtcToLocal(utc, local)) return std::u16string();
  const int64_t localMs =
      ((local.wHour * 60 + local.wMinute) * 60 + local.wSecond) * int64_t{1000} +
      local.wMilliseconds;
  return FormatDateTimeText17(CivilDate{local.wYear, local.wMonth, local.wDay}, localMs);
}

}  // namespace tq

// DateToString and TimeToString.
#include "datetime/date_mask_functions.h"

#include <cstdio>

#include "datetime/date_mask.h"
#include "datetime/date_mask_format.h"
#include "datetime/date_values.h"
#include "datetime/duration_relative.h"
#include "datetime/rfc3339.h"
#include "datetime/system_masks.h"
#include "frame/raise_error.h"

namespace tq {
namespace {

constexpr uint32_t kDateTooShort = 80134;
constexpr uint32_t kDateTooLong = 81842;

std::u16string Printed(const char* format, int a, int b, int c, int d = 0, int e = 0, int f = 0,
                       int g = 0) {
  char buffer[96];
  const int n = std::snprintf(buffer, sizeof buffer, format, a, b, c, d, e, f, g);
  std::u16string out;
  for (int i = 0; i < n && i < static_cast<int>(sizeof buffer) - 1; ++i)
    out += static_cast<char16_t>(buffer[i]);
  return out;
}

std::u16string Lower(std::u16string_view token) {
  std::u16string s(token);
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

// Replaces the token, or when it is absent its lower-case form; true when either was found.
bool ReplaceToken(std::u16string& mask, std::u16string_view token, std::u16string_view by) {
  if (ReplaceAll(mask, token, by)) return true;
  return ReplaceAll(mask, Lower(token), by);
}

// The parts that reading a valid date or date-time text through its input format gives: a
// time of fewer digits than its fields leaves the later fields missing, and a minute read
// without its second counts second 0.
DateParts PartsOfValidText(size_t length, const CivilDate& day, const TimeOfDay& time) {
  constexpr uint16_t kMissing = 0xFFFF;
  DateParts parts{kMissing, kMissing, kMissing, kMissing, kMissing, kMissing, kMissing, kMissing};
  parts.year = static_cast<uint16_t>(day.year);
  parts.month = static_cast<uint16_t>(day.month);
  parts.day = static_cast<uint16_t>(day.day);
  const size_t timeDigits = length > 8 ? length - 8 : 0;
  if (timeDigits >= 2) parts.hour = static_cast<uint16_t>(time.hour);
  if (timeDigits >= 4) {
    parts.minute = static_cast<uint16_t>(time.minute);
    parts.second = static_cast<uint16_t>(timeDigits >= 6 ? time.second : 0);
  }
  if (timeDigits >= 8) parts.millisecond = static_cast<uint16_t>(time.millisecond);
  return parts;
}

}  // namespace

std::u16string FillTimeMask(std::u16string_view mask, int hour, int minute, int second,
                            int centisecond) {
  std::u16string m(mask);
  if (ReplaceToken(m, u"AP", hour < 12 ? u"AM" : u"PM")) {
    if (hour == 12) {
      ReplaceAll(m, u"AM", u"PM");
    } else {
      hour %= 12;
      if (hour == 0) hour = 12;
    }
  }
  ReplaceToken(m, u"HH", Printed("%02d", hour, 0, 0));
  ReplaceToken(m, u"H:", Printed("%d:", hour, 0, 0));
  ReplaceToken(m, u"MM", Printed("%02d", minute, 0, 0));
  ReplaceToken(m, u"SS", Printed("%02d", second, 0, 0));
  ReplaceToken(m, u"CC", Printed("%02d", centisecond, 0, 0));
  return m;
}

void DateToString(std::u16string_view date, const std::optional<std::u16string_view>& mask,
                  RegionalSettings settings, ComponentProxy* errors, std::u16string& out) {
  // Every way out writes `out` whole (a text reused from the last call keeps its storage).
  // A date typed through an input mask may end with placeholders.
  while (!date.empty() && date.back() == u'_') date.remove_suffix(1);
  if (date.size() < 8 || date.size() >= 18) {
    out.clear();
    if (errors && !date.empty())
      RaiseError(errors, date.size() < 8 ? kDateTooShort : kDateTooLong, {date});
    return;
  }
  const bool dateTime = date.size() > 8;
  if (mask && *mask == kUseSystemMask) {
    DateMask object(
        *mask, true,
        dateTime ? std::optional<std::u16string_view>(u"YYYYMMDDHHmmSS") : std::nullopt);
    object.AttachSettings(std::move(settings));
    object.Format(date, out);
    return;
  }
  if (mask && (*mask == kUseDateRfc3339Utc || *mask == kUseDateRfc3339)) {
    out = DateTextToRfc3339(date, *mask == kUseDateRfc3339Utc).value_or(std::u16string());
    return;
  }

  CivilDate day;
  TimeOfDay time;
  const bool parsed =
      dateTime ? ParseDateTimeText(date, day, time, errors) : ParseDateText(date, day, errors);
  if (!parsed) {
    out.clear();
    return;
  }
  if (!mask) {
    if (!dateTime) {
      out = Printed("%02d/%02d/%04d", day.day, day.month, day.year);
    } else {
      out = Printed("%02d/%02d/%04d %02d:%02d:%02d:%d", day.day, day.month, day.year, time.hour,
                    time.minute, time.second,
                    time.centisecond != 0 ? time.centisecond : time.millisecond);
    }
    return;
  }
  if (*mask == kUseDateRelativeDurationMask) {
    RelativeDurationMask relative;
    relative.AttachSettings(std::move(settings));
    relative.Format(date, out);
    return;
  }
  std::optional<std::u16string_view> input;
  // The input formats of date-times of up to 16 characters (centiseconds) and of 17
  // (milliseconds).
  constexpr std::u16string_view kCentiseconds = u"YYYYMMDDHHmmSSCC";
  constexpr std::u16string_view kMilliseconds = u"YYYYMMDDHHmmSSCCC";
  if (dateTime) input = date.size() < 17 ? kCentiseconds : kMilliseconds;
  DateMask object(*mask, true, input);
  object.AttachSettings(std::move(settings));
  // The text was validated above: its parts are known without reading it again.
  FormatWithDisplayMask(object, PartsOfValidText(date.size(), day, time), out,
                        kFormatLenientLetters);
}

std::u16string DateToString(std::u16string_view date, std::optional<std::u16string_view> mask,
                            RegionalSettings settings, ComponentProxy* errors) {
  std::u16string out;
  DateToString(date, mask, std::move(settings), errors, out);
  return out;
}

std::u16string TimeToString(std::u16string_view time, std::optional<std::u16string_view> mask,
                            RegionalSettings settings, ComponentProxy* errors) {
  TimeOfDay t;
  if (!ParseTimeText(time, t, errors)) return std::u16string();
  if (!mask) return Printed("%02d:%02d:%02d:%02d", t.hour, t.minute, t.second, t.centisecond);
  if (*mask == kUseSystemMask) {
    DateMask object(*mask, false);
    object.AttachSettings(std::move(settings));
    std::u16string out;
    object.Format(FormatTimeText(t.hour, t.minute, t.second, t.centisecond), out);
    return out;
  }
  return FillTimeMask(*mask, t.hour, t.minute, t.second, t.centisecond);
}

}  // namespace tq

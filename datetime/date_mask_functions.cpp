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

std::u16string DateToString(std::u16string_view date, std::optional<std::u16string_view> mask,
                            RegionalSettings settings, ComponentProxy* errors) {
  // A date typed through an input mask may end with placeholders.
  while (!date.empty() && date.back() == u'_') date.remove_suffix(1);
  if (date.empty()) return std::u16string();
  if (date.size() < 8) {
    if (errors) RaiseError(errors, kDateTooShort, {date});
    return std::u16string();
  }
  if (date.size() >= 18) {
    if (errors) RaiseError(errors, kDateTooLong, {date});
    return std::u16string();
  }
  const bool dateTime = date.size() > 8;
  if (mask && *mask == kUseSystemMask) {
    DateMask object(
        *mask, true,
        dateTime ? std::optional<std::u16string_view>(u"YYYYMMDDHHmmSS") : std::nullopt);
    object.AttachSettings(std::move(settings));
    std::u16string out;
    object.Format(date, out);
    return out;
  }
  if (mask && (*mask == kUseDateRfc3339Utc || *mask == kUseDateRfc3339))
    return DateTextToRfc3339(date, *mask == kUseDateRfc3339Utc).value_or(std::u16string());

  CivilDate day;
  TimeOfDay time;
  const bool parsed =
      dateTime ? ParseDateTimeText(date, day, time, errors) : ParseDateText(date, day, errors);
  if (!parsed) return std::u16string();
  if (!mask) {
    if (!dateTime) return Printed("%02d/%02d/%04d", day.day, day.month, day.year);
    return Printed("%02d/%02d/%04d %02d:%02d:%02d:%d", day.day, day.month, day.year, time.hour,
                   time.minute, time.second,
                   time.centisecond != 0 ? time.centisecond : time.millisecond);
  }
  std::u16string out;
  if (*mask == kUseDateRelativeDurationMask) {
    RelativeDurationMask relative;
    relative.AttachSettings(std::move(settings));
    relative.Format(date, out);
    return out;
  }
  std::optional<std::u16string_view> input;
  if (dateTime) input = date.size() < 17 ? u"YYYYMMDDHHmmSSCC" : u"YYYYMMDDHHmmSSCCC";
  DateMask object(*mask, true, input);
  object.AttachSettings(std::move(settings));
  FormatDate(object, date, out, kFormatLenientLetters);
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

// RFC 3339 timestamps ("2024-03-05T12:00:00.000+01:00") to and from the library's date-time
// texts, through a compact date-time record.
//
// Invariants: the reader takes the fields as written (no range checks; a text that does not
// follow the form yields whatever numbers its parts read as) and never reads out of bounds;
// the record it fills is in UTC. The writer prints four-digit years and zero-padded fields,
// then "Z" or the offset.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace tq {

inline constexpr std::u16string_view kUseDateRfc3339 = u"UseDateRFC3339";
inline constexpr std::u16string_view kUseDateRfc3339Utc = u"UseDateRFC3339UTC";

struct CompactDateTime {
  uint8_t day = 0;
  uint8_t month = 0;
  uint16_t year = 0;
  uint32_t millisecondOfDay = 0;
  int32_t offsetHours = 0;  // added to local time to reach UTC
  int32_t offsetMinutes = 0;
  bool dateOnly = false;
};

std::u16string FormatRfc3339(const CompactDateTime& record);
// Reads a timestamp into a UTC record.
CompactDateTime ParseRfc3339(std::u16string_view text);

ce::SYSTEMTIME ToSystemTime(const CompactDateTime& record);
CompactDateTime FromSystemTime(const ce::SYSTEMTIME& time);

// DateToString with "UseDateRFC3339" (local time with its offset) or "UseDateRFC3339UTC": the
// date-time text (date, then optional HHMMSS and fraction) as a timestamp; nullopt when the
// device cannot convert it.
std::optional<std::u16string> DateTextToRfc3339(std::u16string_view value, bool utc);

// StringToDate with those masks: the timestamp as a 17-digit date-time text, in UTC or in the
// device's local time; nullopt when the local conversion is impossible.
std::optional<std::u16string> Rfc3339ToDateText(std::u16string_view text, bool utc);

}  // namespace tq

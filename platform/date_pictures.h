// GetDateFormatW: dates written through date pictures. The pictures are in the device's own
// letters (dd/MM/yyyy), derived from ICU's short and full date patterns the way the device
// writes them (years always with four digits, no era), except for the few locales whose
// device values differ from that rule, which are listed in the locale data's source.
#pragma once

#include "platform/windows_types.h"

namespace ce {

inline constexpr DWORD DATE_SHORTDATE = 0x00000001;
inline constexpr DWORD DATE_LONGDATE = 0x00000002;

// Formats `date` (null: the device's local date) with `format`, a date picture (d, dd, ddd,
// dddd, M, MM, MMM, MMMM, y, yy, yyyy, g, gg; text between single quotes is copied, '' is a
// quote), or with the locale's short or long date picture when `format` is null. A month name
// in a picture that also shows the day of the month takes the form that follows a day number.
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format,
                   LPWSTR dateText, int dateCount);

}  // namespace ce

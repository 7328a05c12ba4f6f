// The device's locale information: GetLocaleInfoW items, GetDateFormatW with date pictures,
// and the language-name calls of newer systems (GetUserPreferredUILanguages,
// GetSystemDefaultLocaleName, LocaleNameToLCID), which the device offers as procedures of its
// "kernel32.dll" module.
//
// Names and symbols come from ICU for the locale the LCID designates (the device locale,
// TQ_LOCALE, for the default LCIDs). Date and time pictures are written in the device's own
// letters (dd/MM/yyyy, h:mm:ss tt): they are derived from ICU's short date and medium time
// patterns the way the device writes them (years always with four digits, "tt" for the AM/PM
// marker, no era), except for the few locales whose device values differ from that rule,
// which are listed in the source.
//
// Invariants: size rules as on the device: a count of 0 asks for the size needed (terminator
// included); a buffer too small fails with ERROR_INSUFFICIENT_BUFFER; an LCID that names no
// locale fails with ERROR_INVALID_PARAMETER; an unknown item or flag with ERROR_INVALID_FLAGS.
#pragma once

#include <string>

#include "platform/windows_types.h"

namespace ce {

using LCTYPE = DWORD;

inline constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000;
inline constexpr LCTYPE LOCALE_SLANGUAGE = 0x00000002;
inline constexpr LCTYPE LOCALE_SDECIMAL = 0x0000000E;
inline constexpr LCTYPE LOCALE_STHOUSAND = 0x0000000F;
inline constexpr LCTYPE LOCALE_IDIGITS = 0x00000011;
inline constexpr LCTYPE LOCALE_SCURRENCY = 0x00000014;
inline constexpr LCTYPE LOCALE_ICURRDIGITS = 0x00000019;
inline constexpr LCTYPE LOCALE_ICURRENCY = 0x0000001B;
inline constexpr LCTYPE LOCALE_INEGCURR = 0x0000001C;
inline constexpr LCTYPE LOCALE_SSHORTDATE = 0x0000001F;
inline constexpr LCTYPE LOCALE_SLONGDATE = 0x00000020;
inline constexpr LCTYPE LOCALE_S1159 = 0x00000028;
inline constexpr LCTYPE LOCALE_S2359 = 0x00000029;
inline constexpr LCTYPE LOCALE_SDAYNAME1 = 0x0000002A;        // Monday; ..7 Sunday
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME1 = 0x00000031;  // Monday; ..7 Sunday
inline constexpr LCTYPE LOCALE_SMONTHNAME1 = 0x00000038;      // January; ..12 December
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x00000044;
inline constexpr LCTYPE LOCALE_SNAME = 0x0000005C;
inline constexpr LCTYPE LOCALE_STIMEFORMAT = 0x00001003;

inline constexpr DWORD DATE_SHORTDATE = 0x00000001;
inline constexpr DWORD DATE_LONGDATE = 0x00000002;

inline constexpr DWORD MUI_LANGUAGE_ID = 0x4;
inline constexpr DWORD MUI_LANGUAGE_NAME = 0x8;

// Copies the item's text with its terminator into `data` and returns the characters written
// (with the terminator); 0 on failure with the last error set.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataCount);

// Formats `date` (null: the device's local date) with `format`, a date picture (d, dd, ddd,
// dddd, M, MM, MMM, MMMM, y, yy, yyyy, g, gg; text between single quotes is copied, '' is a
// quote), or with the locale's short or long date picture when `format` is null. A month name
// in a picture that also shows the day of the month takes the form that follows a day number.
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format,
                   LPWSTR dateText, int dateCount);

// The device's UI language as a list of one name ("fr-FR"), or one identifier in hexadecimal
// ("040C") with MUI_LANGUAGE_ID, ended by an empty string. `bufferSize` (characters) is in
// and out; a null buffer asks for the size.
BOOL GetUserPreferredUILanguages(DWORD flags, ULONG* languageCount, LPWSTR buffer,
                                 ULONG* bufferSize);
// The device locale's name ("fr-FR"); returns the characters written with the terminator.
int GetSystemDefaultLocaleName(LPWSTR name, int nameCount);
// The LCID of a locale name; 0 with ERROR_INVALID_PARAMETER for a name that is not known.
LCID LocaleNameToLCID(LPCWSTR name, DWORD flags);

// Makes the language-name procedures above available as the device module "kernel32.dll".
// Idempotent.
void RegisterLocaleModule();

// The device-style picture derived from an ICU pattern (exposed for tests).
std::u16string DevicePictureFromIcuPattern(std::u16string_view pattern);

}  // namespace ce

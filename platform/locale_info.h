// The device's locale items (GetLocaleInfoW): names, symbols and pictures of the locale an
// LCID designates, from ICU (the device locale, TQ_LOCALE, for the default LCIDs).
//
// Invariants: size rules as on the device: a count of 0 asks for the size needed (terminator
// included); a buffer too small fails with ERROR_INSUFFICIENT_BUFFER; an LCID that names no
// locale fails with ERROR_INVALID_PARAMETER; an unknown item or flag with ERROR_INVALID_FLAGS.
#pragma once

#include "platform/date_pictures.h"
#include "platform/locale_data.h"
#include "platform/locale_names.h"
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

// Copies the item's text with its terminator into `data` and returns the characters written
// (with the terminator); 0 on failure with the last error set.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataCount);

}  // namespace ce

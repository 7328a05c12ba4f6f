// Wide-string calls of the device: locale-aware comparison (CompareStringW, lstrcmpW,
// lstrcmpiW), case mapping (CharUpperW, CharLowerW and their buffer forms, LCMapStringW) and
// lstrlenW.
//
// Comparison goes through an ICU collator of the requested locale (LOCALE_USER_DEFAULT and
// LOCALE_SYSTEM_DEFAULT are the device locale), built once per locale and flag set and then
// shared by all threads. Flags: none = accents, then case (lower case first), then the rest
// all count; NORM_IGNORECASE keeps accents and ignores case; NORM_IGNORENONSPACE ignores
// accents and keeps case; both ignore both; NORM_IGNORESYMBOLS ignores spaces, punctuation and
// symbols; NORM_IGNOREWIDTH folds full-width and half-width forms; NORM_IGNOREKANATYPE folds
// katakana onto hiragana; SORT_STRINGSORT is accepted (the collator's order of punctuation is
// the string sort already). Any other flag fails with ERROR_INVALID_FLAGS.
//
// Case mapping without LCMAP_LINGUISTIC_CASING is the simple, locale-independent Unicode
// mapping, one code point for one, so lengths never change; with it, LCMapStringW applies the
// full mapping of the locale (Turkish dotted i, German sharp s to "SS").
#pragma once

#include "platform/windows_types.h"

namespace ce {

// CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN; 0 with the last error on failure (null
// string, count below -1, unknown locale, bad flags). A count of -1 means zero-terminated.
int CompareStringW(LCID locale, DWORD flags, const char16_t* string1, int count1,
                   const char16_t* string2, int count2);

// <0, 0 or >0 by CompareStringW on the device locale (no flags, or NORM_IGNORECASE). A null
// string sorts before any other.
int lstrcmpW(const char16_t* string1, const char16_t* string2);
int lstrcmpiW(const char16_t* string1, const char16_t* string2);

// Length in UTF-16 units; 0 for null.
int lstrlenW(const char16_t* string);

// A pointer value whose high bits are all zero carries one character in its low 16 bits and
// the mapped character comes back the same way; otherwise the zero-terminated string is
// mapped in place and returned.
LPWSTR CharUpperW(LPWSTR string);
LPWSTR CharLowerW(LPWSTR string);
// Maps `length` units in place; returns `length` (0 for a null buffer).
DWORD CharUpperBuffW(LPWSTR buffer, DWORD length);
DWORD CharLowerBuffW(LPWSTR buffer, DWORD length);

// LCMAP_UPPERCASE or LCMAP_LOWERCASE, optionally with LCMAP_LINGUISTIC_CASING. Size rules as
// for the code-page conversions: -1 source = zero-terminated, terminator included; 0 output
// size = size needed; ERROR_INSUFFICIENT_BUFFER when the output is too small.
int LCMapStringW(LCID locale, DWORD flags, const char16_t* source, int sourceCount,
                 char16_t* destination, int destinationCount);

}  // namespace ce

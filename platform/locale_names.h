// The language-name calls of newer systems (GetUserPreferredUILanguages,
// GetSystemDefaultLocaleName, LocaleNameToLCID), which the device offers as procedures of its
// "kernel32.dll" module; the library finds them there at run time.
#pragma once

#include "platform/windows_types.h"

namespace ce {

inline constexpr DWORD MUI_LANGUAGE_ID = 0x4;
inline constexpr DWORD MUI_LANGUAGE_NAME = 0x8;

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

}  // namespace ce

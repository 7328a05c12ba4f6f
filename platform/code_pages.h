// Code-page conversions: MultiByteToWideChar and WideCharToMultiByte with the device's
// semantics, GetACP, and (through utf8.h) the UTF-8 helpers used everywhere.
//
// Sizes are counted in units of the buffer (bytes or UTF-16 units). A source size of -1 means
// a zero-terminated source, terminator included in the conversion and the count. An output
// size of 0 asks for the size needed (the output pointer is not used). Failures return 0 with
// the last error: ERROR_INVALID_PARAMETER (null source, size 0 or below -1, unknown code page,
// default character given for UTF-8/UTF-7), ERROR_INVALID_FLAGS, ERROR_INSUFFICIENT_BUFFER
// (nothing is written then), or ERROR_NO_UNICODE_TRANSLATION (ill-formed input and
// MB_ERR_INVALID_CHARS / WC_ERR_INVALID_CHARS).
//
// Code pages: 1252 from our own table (see code_page_1252.h); 65001 by our own UTF-8 codec
// (ill-formed input becomes U+FFFD, lone surrogates become U+FFFD); CP_ACP, CP_OEMCP,
// CP_MACCP and CP_THREAD_ACP stand for the device's ANSI page (GetACP); every other page that
// ICU has a converter for (936, 1251, 932, 28591, 20127, 54936, ...) through ICU. Encoding
// never uses best-fit approximations: a character without a byte sequence becomes the default
// character ('?' unless given), one per UTF-16 unit for code page 1252.
#pragma once

#include <string_view>

#include "platform/utf8.h"
#include "platform/windows_types.h"

namespace ce {

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte, int multiByteCount,
                        char16_t* wide, int wideCount);

int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* wide, int wideCount,
                        char* multiByte, int multiByteCount, const char* defaultChar,
                        BOOL* usedDefaultChar);

// The device's ANSI code page, from the device locale (1252 for western locales).
UINT GetACP();
// The device has no separate OEM page: the same as GetACP.
UINT GetOEMCP();
BOOL IsValidCodePage(UINT codePage);

// The ANSI page of a locale given as a BCP 47 tag or ICU name ("fr-FR", "zh_TW").
UINT AnsiCodePageForLocale(std::string_view locale);

}  // namespace ce

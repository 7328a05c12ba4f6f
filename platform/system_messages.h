// The system's message texts for error codes, served by FormatMessageW.
//
// Invariants: the table holds one English text per known code, each one sentence (or two)
// ending with a full stop; FormatMessageW hands it back followed by CR LF, as the device's
// message table does. The texts contain no insertion points, so the presence or absence of
// FORMAT_MESSAGE_IGNORE_INSERTS changes nothing. Codes absent from the table fail with
// ERROR_MR_MID_NOT_FOUND.
#pragma once

#include <cstdarg>
#include <optional>
#include <string_view>

#include "platform/windows_types.h"

namespace ce {

// Supported: FORMAT_MESSAGE_FROM_SYSTEM, with or without FORMAT_MESSAGE_ALLOCATE_BUFFER (then
// `buffer` is really a char16_t** that receives a block to free with LocalFree, and `size` is
// the least number of characters to allocate), FORMAT_MESSAGE_IGNORE_INSERTS, and the
// FORMAT_MESSAGE_MAX_WIDTH_MASK value 0xFF (the final CR LF is left out). The language may be
// neutral (0), a user or system default, or any English one; another language fails with
// ERROR_RESOURCE_LANG_NOT_FOUND. Other sources (FROM_STRING, FROM_HMODULE) fail with
// ERROR_INVALID_PARAMETER. Returns the number of characters written, terminator excluded,
// or 0 on failure.
DWORD FormatMessageW(DWORD flags, const void* source, DWORD messageId, DWORD languageId,
                     char16_t* buffer, DWORD size, va_list* arguments);

// The bare text for a code (no CR LF), or nullopt when the system has none.
std::optional<std::u16string_view> SystemMessageText(DWORD code);

}  // namespace ce

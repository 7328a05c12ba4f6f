// The shell's document launch (ShellExecuteEx as the device's shell does it): a document is
// opened with the command its file class names in the registry, a program is started itself.
//
// The class of an extension is the default value of the key ".ext" under
// HKEY_CURRENT_USER\Software\Classes, then HKEY_LOCAL_MACHINE\Software\Classes, then
// HKEY_CLASSES_ROOT; its command is the default value of "CLASS\shell\VERB\command" under the
// same root ("open" when no verb is given). "%1" in the command stands for the document; a
// command without it gets the document appended, in double quotes. The command's program is
// started with CreateProcessW (a quoted program path runs up to the next quote).
//
// Invariants: the result is the shell's instance code: above 32 on success, otherwise 2 file
// not found, 3 path not found, 5 access denied, 11 not a program, 31 no association.
#pragma once

#include <cstdint>

#include "platform/windows_types.h"

namespace ce {

inline constexpr intptr_t SE_ERR_FNF = 2;
inline constexpr intptr_t SE_ERR_PNF = 3;
inline constexpr intptr_t SE_ERR_ACCESSDENIED = 5;
inline constexpr intptr_t SE_ERR_BADFORMAT = 11;
inline constexpr intptr_t SE_ERR_NOASSOC = 31;
inline constexpr intptr_t kShellSuccess = 33;

// Opens `file` (a device path) with `verb` (null or empty: "open").
intptr_t ShellExecuteDocument(LPCWSTR file, LPCWSTR verb);

}  // namespace ce

// The shell's shortcut calls: SHCreateShortcut writes a shortcut file, and the few file
// operations the shortcut functions need (existence as a file, removal, folder creation),
// all beneath the device root. SHGetSpecialFolderPath gives the device's special folders.
//
// A shortcut file holds the target's length in decimal, '#', then the target, in double
// quotes when it holds a space (the length counts the quotes), in code page 1252 (characters
// outside it are written '?'), with no line end: "21#\Windows\notes.exe".
//
// Invariants: every file is opened beneath the device root's directory with
// RESOLVE_BENEATH, so no path and no link swapped in meanwhile can lead outside the root.
#pragma once

#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace ce {

inline constexpr int CSIDL_PROGRAMS = 0x0002;
inline constexpr int CSIDL_PERSONAL = 0x0005;
inline constexpr int CSIDL_STARTUP = 0x0007;
inline constexpr int CSIDL_STARTMENU = 0x000B;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
inline constexpr int CSIDL_FONTS = 0x0014;
inline constexpr int CSIDL_WINDOWS = 0x0024;

// The content of a shortcut file to `target`.
std::string ShortcutFileContent(std::u16string_view target);

// Creates (or replaces) the shortcut file; FALSE with the last error on failure.
BOOL SHCreateShortcut(LPWSTR shortcutPath, LPWSTR target);
// Writes the folder's device path into `path` (MAX_PATH characters) and creates it when
// `create` is set; FALSE for an unknown folder.
BOOL SHGetSpecialFolderPath(void* window, LPWSTR path, int folder, BOOL create);

// Whether the device path names an existing file (not a folder).
bool DeviceFileExists(std::u16string_view path);
// Removes the file; false with the last error.
bool RemoveDeviceFile(std::u16string_view path);
// Creates the folder and every missing parent; false with the last error.
bool CreateDeviceFolders(std::u16string_view path);

}  // namespace ce

// The profile engine: reads and writes INI files named by device paths, in the device's ANSI
// code page, with the text rules of profile_text.h.
//
// Invariants: a write replaces the file whole (the new text is written beside it, flushed,
// then renamed over it), so a reader or a crash sees the old file or the new one, never half
// of one; writers in the same folder take turns (a lock on the folder), so two processes never
// lose each other's writes. Paths go through the device-path mapping and never leave the
// device root. Failures leave the device's last error set.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

// The file used when none is named.
inline constexpr std::u16string_view kDefaultProfileFile = u"\\Windows\\win.ini";
// The buffer a read fills, terminator included (so at most 8190 bytes of text).
inline constexpr size_t kProfileReadBytes = 8191;

using ProfileItem = std::optional<std::u16string_view>;  // nullopt: none

// Write: `value` under `key` in `section`; no value deletes the key; no key empties the
// section. False when there is no section or the file cannot be opened or replaced. The file
// is created when absent (also by deletions).
bool ProfileEngineWrite(std::u16string_view section, ProfileItem key, ProfileItem value,
                        std::u16string_view file);

// Read: the value, the key list or the section list (see ReadProfileText), else the default
// (or the empty text), cut to `bufferBytes` - 1 bytes of ANSI text.
std::u16string ProfileEngineRead(ProfileItem section, ProfileItem key, ProfileItem defaultText,
                                 std::u16string_view file, size_t bufferBytes = kProfileReadBytes);

// The file's size in bytes, or nullopt when it cannot be found.
std::optional<size_t> ProfileFileSize(std::u16string_view file);

// Removes the file (DeleteFile); false when it cannot be removed.
bool ProfileFileDelete(std::u16string_view file);

}  // namespace tq

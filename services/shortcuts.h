// Shortcut files (".lnk") in the device's Programs menu or in any folder: CreateShortcut,
// CreateProgramsShortcut and DeleteShortcut.
//
// The path: the base folder (location 1: the Programs menu folder; any other location: none),
// the folder, the name and ".lnk", with a backslash added between a non-empty part and the
// next one unless the part already ends with one; at most 259 characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

struct ComponentProxy;

inline constexpr int32_t kProgramsMenu = 1;

// The shortcut's device path; nullopt when the Programs folder cannot be found or the path
// is too long.
std::optional<std::u16string> ShortcutPath(int32_t location, std::u16string_view folder,
                                           std::u16string_view name);

// Creates the folder (silently, with its parents) and the shortcut unless a file with that
// path exists already (then true, unchanged). A shortcut that cannot be written raises 80231.
bool CreateShortcut(ComponentProxy* proxy, int32_t location, std::u16string_view folder,
                    std::u16string_view name, std::u16string_view target);
// Removes the shortcut file; false, without error, when it cannot be removed.
bool DeleteShortcut(int32_t location, std::u16string_view folder, std::u16string_view name);

}  // namespace tq

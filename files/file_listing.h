// ListFiles: the files of a folder matching a mask, and those of its subfolders, one line
// each: "path<TAB>size<TAB>YYYYMMDDHHMMSS<TAB>letters" (last write in the device's zone;
// letters A archive, D directory, H hidden, R read-only, S system, C compressed, in that
// order). Lines are joined with CR LF.
//
// Invariants: the entries of a folder come first, in the platform's search order (names
// compared without regard to case), then each subfolder's listing, depth first. Hidden
// entries are left out unless option 0x100 (files) or 0x200 (subfolders walked) is given;
// option 2 stays in the folder. The root's state folder never appears.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_types.h"

namespace tq {

inline constexpr int32_t kListNoRecursion = 2;
inline constexpr int32_t kListHidden = 0x100;
inline constexpr int32_t kListHiddenFolders = 0x200;

// Calls `visit` with each listed entry's full path and record; false from `visit` stops.
// Returns the number of entries visited.
int32_t WalkFiles(std::u16string_view pattern, int32_t options,
                  const std::function<bool(const std::u16string&, const ce::WIN32_FIND_DATAW&)>& visit);

std::u16string ListFiles(std::u16string_view pattern, int32_t options);

// One line of the listing for an entry.
std::u16string ListingLine(const std::u16string& path, const ce::WIN32_FIND_DATAW& entry);

}  // namespace tq

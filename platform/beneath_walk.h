// Walking device names beneath a host folder (the device root, or the folder of a connected
// share) the way the device looks them up, and opening what was found beneath that folder.
//
// Invariants: a walk never yields a path that leaves its folder, neither lexically (its
// components are plain names, never "." or "..") nor through a symbolic link met on the way
// (links that resolve outside the folder, dangling links whose target would be outside it, and
// link loops are refused). Each name is matched exactly first; when no entry has that exact
// name, an existing entry equal to it without regard to case (full Unicode case folding) is
// used instead, the first in byte order when several are. Names that match nothing are kept as
// written, so new files take the caller's spelling. Checks made while walking may be outrun by
// a link swapped in afterwards: OpenBeneath is what holds, whatever the links say by then.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ce {

// The canonical form (absolute, free of links) of an existing path.
std::optional<std::string> CanonicalPath(const std::string& path);

// Whether `path` is `folder` or lies below it (both absolute and normalised).
bool IsInsideFolder(const std::string& path, const std::string& folder);

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);

// The host path below `folder` (canonical) reached by `names` (UTF-8 components), joined with
// "/" ("" for `folder` itself); nullopt with the last error ERROR_ACCESS_DENIED when a link
// would lead outside `folder`, or ERROR_FILENAME_EXCED_RANGE when the host path is too long.
std::optional<std::string> WalkBeneath(const std::string& folder,
                                       const std::vector<std::string>& names);

// Opens `relative` ("" for the folder itself) beneath the folder open as `folderFd` with
// openat2 and RESOLVE_BENEATH: no link, "..", or rename racing with the call leads outside
// it (the kernel reports EXDEV, turned into EACCES here). -1 with errno on failure.
int OpenBeneath(int folderFd, const std::string& relative, int flags, mode_t mode);

// The same, for a folder given by its host path.
int OpenBeneathFolder(const std::string& folder, const std::string& relative, int flags,
                      mode_t mode);

}  // namespace ce

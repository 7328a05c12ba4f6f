// Device paths: the device's file system lives in one host directory, the device root, and a
// device path ("\Windows\win.ini") names a host path inside it.
//
// Invariants: a mapped path is the root itself or the root followed by "/" and components;
// it never names anything outside the root, neither lexically nor through a symbolic link
// inside the root (links that resolve outside it, dangling links whose target would be
// outside it, and link loops are refused). "." and ".." are resolved lexically and ".." at the
// root stays at the root, as on the device. Drive letters ("C:"), UNC names ("\\server"),
// NUL and control characters, and the characters the device forbids in names (< > : " | ? *)
// are refused.
//
// Case: the device compares names without regard to case, the host's file system does not.
// Each component is matched exactly first; when no entry has that exact name, an existing
// entry whose name is equal without regard to case (full Unicode case folding) is used
// instead (the first in byte order when several match). Components that match nothing are
// kept as written, so a new file is created with the caller's spelling.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace ce {

// The host directory of the device root, absolute and free of symbolic links; created (with
// its parents) at the first call for a given configuration.
std::string DeviceRoot();

// The host path for a device path; "\" names the root. Both separators are accepted,
// repeated separators count as one, a relative path is taken from the root (the device has no
// current directory). nullopt with the last error ERROR_INVALID_NAME for a malformed or empty
// path (an empty name must never stand for the whole device),
// ERROR_FILENAME_EXCED_RANGE for a component or path that is too long, or ERROR_ACCESS_DENIED
// for a path that a link would lead outside the root.
std::optional<std::string> MapDevicePath(std::u16string_view devicePath);

// The device path ("\dir\file", "\" for the root) of a host path inside the root; nullopt
// with ERROR_ACCESS_DENIED when the path lies outside it, or ERROR_INVALID_NAME when a name
// is not valid UTF-8. A relative host path is taken from the host's current directory.
std::optional<std::u16string> HostToDevicePath(std::string_view hostPath);

}  // namespace ce

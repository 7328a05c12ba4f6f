// Device paths: the device's file system lives in one host directory, the device root, and a
// device path ("\Windows\win.ini") names a host path inside it; the folders of connected
// shares join it under \Network (see Shares below).
//
// Invariants: a mapped path is its volume's folder (the root or a share's) itself or that
// folder followed by "/" and components; it never names anything outside that folder, neither
// lexically nor through a symbolic link inside it (links that resolve outside it, dangling
// links whose target would be outside it, and link loops are refused; see beneath_walk.h).
// "." and ".." are resolved lexically and ".." at the root stays at the root, as on the
// device. Drive letters ("C:"), UNC names ("\\server"), NUL and control characters, and the
// characters the device forbids in names (< > : " | ? *) are refused.
//
// Case: the device compares names without regard to case, the host's file system does not.
// Each component is matched exactly first; when no entry has that exact name, an existing
// entry whose name is equal without regard to case (full Unicode case folding) is used
// instead (the first in byte order when several match). Components that match nothing are
// kept as written, so a new file is created with the caller's spelling. When two host names
// differ only by case ("Notes.txt" and "notes.TXT"), a device path reaches the one spelt
// exactly as written, else the first of them in byte order; the other stays listed but can
// only be reached by its exact spelling.
//
// The root's folder ".device" holds the simulation's own state: no device path reaches it
// (access denied) and listings of the root leave it out. The folder "\Temp" is created the
// first time a device path goes through it.
//
// Shares: "\Network\NAME" is the folder of the share connected under NAME (network_folder.h),
// a volume of its own with the same rules as the root: its names are looked up the same way,
// ".." stops at its top and no link leads out of it. A host folder "Network" in the root is
// hidden by the device's \Network folder.
//
// Races: the mapping checks links when it runs, but a link may be swapped in afterwards. The
// file layer therefore opens every path again beneath its volume's directory descriptor
// (openat2 with RESOLVE_BENEATH), which the kernel refuses to leave whatever the links say.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/device_location.h"
#include "platform/windows_types.h"

namespace ce {

// The host directory of the device root, absolute and free of symbolic links; created (with
// its parents) at the first call for a given configuration.
std::string DeviceRoot();

// The host path for a device path; "\" names the root, \Network\NAME\... a file of the share
// connected under NAME (see ResolveDevicePath; \Network itself has no host path and gives
// ERROR_ACCESS_DENIED). Both separators are accepted, repeated separators count as one, a
// relative path is taken from the root (the device has no current directory). nullopt with the
// last error ERROR_INVALID_NAME for a malformed or empty path (an empty name must never stand
// for the whole device), ERROR_FILENAME_EXCED_RANGE for a component or path that is too long,
// or ERROR_ACCESS_DENIED for a path that a link would lead outside its volume.
std::optional<std::string> MapDevicePath(std::u16string_view devicePath);

// The device path ("\dir\file", "\" for the root) of a host path inside the root, or
// "\Network\NAME\..." for one inside the folder of a share connected under NAME (the deepest
// of the folders that hold the path decides); nullopt with ERROR_ACCESS_DENIED when the path
// lies outside them all, or ERROR_INVALID_NAME when a name is not valid UTF-8. A relative host
// path is taken from the host's current directory.
std::optional<std::u16string> HostToDevicePath(std::string_view hostPath);

// Whether a name is the simulation's state folder (".device", any case).
bool IsDeviceStateName(std::string_view name);

// Where a device path leads (device_location.h): the device root, the \Network folder, or a
// connected share. Lexical rules and refusals as for MapDevicePath; inside a share, ".." stops
// at the share's top. A local name that is not connected, or whose share's folder is missing,
// gives ERROR_FILE_NOT_FOUND for \Network\NAME itself and ERROR_PATH_NOT_FOUND beneath it;
// a share whose folder holds the device root gives ERROR_ACCESS_DENIED.
std::optional<DeviceLocation> ResolveDevicePath(std::u16string_view devicePath);

// Opens a host path inside the device root returned by MapDevicePath beneath the root's
// directory descriptor: no link, "..", or rename racing with the call can lead outside the
// root (the kernel reports EXDEV, turned into EACCES here). Paths inside shares are refused
// (EACCES): open them with OpenAtLocation. -1 with errno on failure.
int OpenBeneathRoot(const std::string& hostPath, int flags, mode_t mode = 0);

}  // namespace ce

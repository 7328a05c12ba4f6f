// The simulation's own files in the folder ".device" of the device root (input log, clipboard,
// written-back settings): named by their file name, never reachable through device paths.
//
// Invariants: a replaced file is written to a temporary file and renamed, so another process
// reads either the old or the new content, never a mix. An appended line is written with one
// write on a descriptor opened for appending, so lines of concurrent processes never interleave.
// Failures set the last error from errno.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ce {

// "<device root>/.device/NAME"; the folder is created when missing.
std::string DeviceStateFilePath(std::string_view name);

// The file's bytes; nullopt when it does not exist or cannot be read.
std::optional<std::string> ReadDeviceStateFile(std::string_view name);
bool DeviceStateFileExists(std::string_view name);
// Replaces the file's content atomically.
bool WriteDeviceStateFile(std::string_view name, std::string_view content);
// The same for a file named by its host path (another root's state file).
bool ReplaceFileAtomically(const std::string& path, std::string_view content);
// Appends `line` (which should end with a line feed) in one write.
bool AppendDeviceStateFile(std::string_view name, std::string_view line);
// Removes the file; a missing file counts as removed.
bool RemoveDeviceStateFile(std::string_view name);

}  // namespace ce

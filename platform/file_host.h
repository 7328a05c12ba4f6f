// What the file calls share: mapping a device path for a call, the error a missing path
// gives, and the facts (attributes, times, size) of an open host file, with the record of the
// attributes and creation time that the host cannot hold itself.
//
// Invariants: descriptors passed in are open beneath the device root (O_PATH ones included);
// the stored records are read and written through /proc/self/fd so they work on O_PATH
// descriptors of files and folders alike.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_types.h"

namespace ce {

// The host path of a device path given to a file call; nullopt with the last error set.
std::optional<std::string> MapForFileCall(LPCWSTR devicePath);

// The device code for ENOENT on `hostPath`: 3 when its folder is missing too, else 2.
DWORD MissingPathError(const std::string& hostPath);
// Sets the last error for a failed host call on `hostPath` from errno; returns FALSE.
BOOL FailFromErrno(const std::string& hostPath);

// Attributes hidden, system and archive of the stored record (nullopt when there is none).
std::optional<DWORD> StoredAttributes(int fd);
bool StoreAttributes(int fd, DWORD attributes);
std::optional<FILETIME> StoredCreationTime(int fd);
bool StoreCreationTime(int fd, const FILETIME& time);

struct FileFacts {
  DWORD attributes = 0;
  FILETIME creation{};
  FILETIME lastAccess{};
  FILETIME lastWrite{};
  uint64_t size = 0;
};
// nullopt with the last error set when the descriptor cannot be examined.
std::optional<FileFacts> FactsOf(int fd);

FILETIME FileTimeFromTimespec(int64_t seconds, int64_t nanoseconds);
timespec TimespecFromFileTime(const FILETIME& time);

// Whether the host file at `fd` may be written: the owner's write permission bit (the
// process may run as root, which ignores permissions).
bool IsWritable(int fd);

// Copies the stored record of `from` to `to` (nothing when `from` has none).
void CopyStoredAttributes(int from, int to);

}  // namespace ce

// What the file calls share: resolving a device path for a call, the error a missing path
// gives, and the facts (attributes, times, size) of an open host file, with the record of the
// attributes and creation time that the host cannot hold itself.
//
// Invariants: descriptors passed in are open beneath their volume's folder (the device root or
// a connected share's; O_PATH ones included);
// the stored records are read and written through /proc/self/fd so they work on O_PATH
// descriptors of files and folders alike.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/device_location.h"
#include "platform/file_types.h"

namespace ce {

// Whether a call can do something with the \Network folder itself.
enum class NetworkFolderUse { kRefused, kAllowed };

// Where a device path given to a file call leads; nullopt with the last error set. The
// network folder is refused with ERROR_ACCESS_DENIED unless the call allows it.
std::optional<DeviceLocation> MapForFileCall(LPCWSTR devicePath,
                                             NetworkFolderUse use = NetworkFolderUse::kRefused);

// The device code for ENOENT on a location: 3 when its folder is missing too, else 2.
DWORD MissingPathError(const DeviceLocation& location);
// Sets the last error for a failed host call on a location from errno; returns FALSE.
BOOL FailFromErrno(const DeviceLocation& location);

// A descriptor of a location opened beneath its volume (-1 with errno when it cannot be),
// closed on scope exit.
class LocationFd {
 public:
  explicit LocationFd(const DeviceLocation& location, int flags = O_PATH, mode_t mode = 0)
      : fd_(OpenAtLocation(location, flags, mode)) {}
  ~LocationFd();
  LocationFd(const LocationFd&) = delete;
  LocationFd& operator=(const LocationFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool IsDirectoryFd(int fd);

// Sets the last error; returns FALSE.
BOOL FailWith(DWORD code);

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

// How a file or folder is opened to read its facts: for reading, so that its stored attributes
// come from the descriptor itself (an O_PATH descriptor reaches them only through /proc), never
// waiting on a pipe's writer, never taking a terminal. What cannot be opened so (no read
// permission, a socket) is opened with O_PATH instead.
inline constexpr int kOpenForFacts = O_RDONLY | O_NONBLOCK | O_NOCTTY;

FILETIME FileTimeFromTimespec(int64_t seconds, int64_t nanoseconds);
timespec TimespecFromFileTime(const FILETIME& time);

// Whether the host file at `fd` may be written: the owner's write permission bit (the
// process may run as root, which ignores permissions).
bool IsWritable(int fd);

// Copies the stored record of `from` to `to` (nothing when `from` has none).
void CopyStoredAttributes(int from, int to);

}  // namespace ce

// Shared pieces of the file calls: mapping, missing-path errors, stored attributes, facts.
#include "platform/file_host.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "platform/civil_time.h"
#include "platform/device_path.h"
#include "platform/last_error.h"

namespace ce {
namespace {

constexpr char kAttributesName[] = "user.tq240.attributes";
constexpr char kCreatedName[] = "user.tq240.created";
constexpr DWORD kStoredMask =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
constexpr int64_t kUnixEpochTicks = 116444736000000000;  // 1970-01-01 in FILETIME ticks

std::string ProcPath(int fd) {
  return "/proc/self/fd/" + std::to_string(fd);
}

std::optional<uint64_t> ReadNumber(int fd, const char* name) {
  char buffer[32];
  // A descriptor open for reading answers directly; one opened with O_PATH (EBADF) is reached
  // through its /proc name, a path lookup that costs several times more.
  ssize_t length = fgetxattr(fd, name, buffer, sizeof buffer);
  if (length < 0 && errno == EBADF)
    length = getxattr(ProcPath(fd).c_str(), name, buffer, sizeof buffer);
  if (length <= 0) return std::nullopt;
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(buffer, buffer + length, value);
  if (ec != std::errc() || end != buffer + length) return std::nullopt;
  return value;
}

bool WriteNumber(int fd, const char* name, uint64_t value) {
  const std::string text = std::to_string(value);
  return setxattr(ProcPath(fd).c_str(), name, text.data(), text.size(), 0) == 0;
}

}  // namespace

std::optional<DeviceLocation> MapForFileCall(LPCWSTR devicePath, NetworkFolderUse use) {
  if (devicePath == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  std::optional<DeviceLocation> location = ResolveDevicePath(devicePath);
  if (!location) return std::nullopt;
  if (location->IsNetworkFolder() && use == NetworkFolderUse::kRefused) {
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }
  // The root's state folder is unreachable; so is a name that would be mapped into it.
  const std::string& rest = location->relative;
  if (location->volume == DeviceVolume::kRoot && IsDeviceStateName(rest.substr(0, rest.find('/')))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }
  return location;
}

DWORD MissingPathError(const DeviceLocation& location) {
  const size_t slash = location.relative.rfind('/');
  if (slash == std::string::npos) return ERROR_FILE_NOT_FOUND;  // the volume's top exists
  DeviceLocation folder = location;
  folder.relative.resize(slash);
  const int fd = OpenAtLocation(folder, O_PATH | O_DIRECTORY);
  if (fd < 0) return ERROR_PATH_NOT_FOUND;
  close(fd);
  return ERROR_FILE_NOT_FOUND;
}

BOOL FailFromErrno(const DeviceLocation& location) {
  SetLastError(errno == ENOENT ? MissingPathError(location) : Win32ErrorFromErrno(errno));
  return FALSE;
}

LocationFd::~LocationFd() {
  if (fd_ >= 0) close(fd_);
}

bool IsDirectoryFd(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
}

BOOL FailWith(DWORD code) {
  SetLastError(code);
  return FALSE;
}

std::optional<DWORD> StoredAttributes(int fd) {
  const std::optional<uint64_t> value = ReadNumber(fd, kAttributesName);
  if (!value) return std::nullopt;
  return static_cast<DWORD>(*value) & kStoredMask;
}

bool StoreAttributes(int fd, DWORD attributes) {
  return WriteNumber(fd, kAttributesName, attributes & kStoredMask);
}

std::optional<FILETIME> StoredCreationTime(int fd) {
  const std::optional<uint64_t> value = ReadNumber(fd, kCreatedName);
  if (!value) return std::nullopt;
  return TicksToFileTime(static_cast<int64_t>(*value));
}

bool StoreCreationTime(int fd, const FILETIME& time) {
  return WriteNumber(fd, kCreatedName, static_cast<uint64_t>(FileTimeToTicks(time)));
}

FILETIME FileTimeFromTimespec(int64_t seconds, int64_t nanoseconds) {
  return TicksToFileTime(kUnixEpochTicks + seconds * 10000000 + nanoseconds / 100);
}

timespec TimespecFromFileTime(const FILETIME& time) {
  const int64_t ticks = FileTimeToTicks(time) - kUnixEpochTicks;
  int64_t seconds = ticks / 10000000;
  int64_t rest = ticks % 10000000;
  if (rest < 0) {
    rest += 10000000;
    --seconds;
  }
  timespec converted{};
  converted.tv_sec = static_cast<time_t>(seconds);
  converted.tv_nsec = static_cast<long>(rest * 100);
  return converted;
}

bool IsWritable(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && (info.st_mode & S_IWUSR) != 0;
}

std::optional<FileFacts> FactsOf(int fd) {
  struct statx info {};
  if (statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) {
    SetLastErrorFromErrno();
    return std::nullopt;
  }
  FileFacts facts;
  const bool directory = S_ISDIR(info.stx_mode);
  facts.attributes = StoredAttributes(fd).value_or(directory ? 0 : FILE_ATTRIBUTE_ARCHIVE);
  if (directory) facts.attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if ((info.stx_mode & S_IWUSR) == 0) facts.attributes |= FILE_ATTRIBUTE_READONLY;
  if (facts.attributes == 0) facts.attributes = FILE_ATTRIBUTE_NORMAL;
  facts.lastWrite = FileTimeFromTimespec(info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec);
  facts.lastAccess = FileTimeFromTimespec(info.stx_atime.tv_sec, info.stx_atime.tv_nsec);
  if (std::optional<FILETIME> stored = StoredCreationTime(fd)) {
    facts.creation = *stored;
  } else if ((info.stx_mask & STATX_BTIME) != 0) {
    facts.creation = FileTimeFromTimespec(info.stx_btime.tv_sec, info.stx_btime.tv_nsec);
  } else {
    facts.creation = facts.lastWrite;
  }
  facts.size = directory ? 0 : info.stx_size;
  return facts;
}

void CopyStoredAttributes(int from, int to) {
  if (std::optional<DWORD> stored = StoredAttributes(from)) StoreAttributes(to, *stored);
}

}  // namespace ce

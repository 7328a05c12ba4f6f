// Path-based file calls: attributes, deletion, folders and free space.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

#include "platform/device_path.h"
#include "platform/file_api.h"
#include "platform/file_host.h"
#include "platform/last_error.h"

namespace ce {
namespace {

// What the \Network folder shows: a folder with no host folder behind it, hence no times.
FileFacts NetworkFolderFacts() {
  FileFacts facts;
  facts.attributes = FILE_ATTRIBUTE_DIRECTORY;
  return facts;
}

std::optional<FileFacts> FactsOfPath(LPCWSTR fileName) {
  const std::optional<DeviceLocation> location =
      MapForFileCall(fileName, NetworkFolderUse::kAllowed);
  if (!location) return std::nullopt;
  if (location->IsNetworkFolder()) return NetworkFolderFacts();
  // A missing entry is missing either way: only other failures try O_PATH.
  LocationFd readable(*location, kOpenForFacts);
  if (readable.get() >= 0) return FactsOf(readable.get());
  if (errno == ENOENT || errno == ENOTDIR) {
    FailFromErrno(*location);
    return std::nullopt;
  }
  LocationFd fd(*location);
  if (fd.get() < 0) {
    FailFromErrno(*location);
    return std::nullopt;
  }
  return FactsOf(fd.get());
}

}  // namespace

DWORD GetFileAttributesW(LPCWSTR fileName) {
  const std::optional<FileFacts> facts = FactsOfPath(fileName);
  return facts ? facts->attributes : INVALID_FILE_ATTRIBUTES;
}

BOOL GetFileAttributesExW(LPCWSTR fileName, GET_FILEEX_INFO_LEVELS level, void* info) {
  if (level != GetFileExInfoStandard || info == nullptr) return FailWith(ERROR_INVALID_PARAMETER);
  const std::optional<FileFacts> facts = FactsOfPath(fileName);
  if (!facts) return FALSE;
  auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(info);
  data->dwFileAttributes = facts->attributes;
  data->ftCreationTime = facts->creation;
  data->ftLastAccessTime = facts->lastAccess;
  data->ftLastWriteTime = facts->lastWrite;
  data->nFileSizeHigh = static_cast<DWORD>(facts->size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(facts->size);
  return TRUE;
}

BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes) {
  const std::optional<DeviceLocation> location = MapForFileCall(fileName);
  if (!location) return FALSE;
  if (location->AtTop()) return FailWith(ERROR_ACCESS_DENIED);  // the root or a share's top
  LocationFd fd(*location);
  if (fd.get() < 0) return FailFromErrno(*location);
  struct stat info {};
  if (fstat(fd.get(), &info) != 0) return FailFromErrno(*location);
  if (S_ISLNK(info.st_mode)) return FailWith(ERROR_ACCESS_DENIED);
  const mode_t mode =
      (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? info.st_mode & 07555 : info.st_mode | S_IWUSR;
  const std::string proc = "/proc/self/fd/" + std::to_string(fd.get());
  if (chmod(proc.c_str(), mode & 07777) != 0) return FailFromErrno(*location);
  if (!StoreAttributes(fd.get(), attributes)) return FailWith(Win32ErrorFromErrno(errno));
  return TRUE;
}

BOOL DeleteFileW(LPCWSTR fileName) {
  const std::optional<DeviceLocation> location = MapForFileCall(fileName);
  if (!location) return FALSE;
  BeneathParent parent(*location);
  if (parent.fd() < 0) return FailWith(ERROR_PATH_NOT_FOUND);
  if (parent.name().empty()) return FailWith(ERROR_ACCESS_DENIED);
  struct stat info {};
  if (fstatat(parent.fd(), parent.name().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return FailWith(ERROR_FILE_NOT_FOUND);
  }
  if (S_ISDIR(info.st_mode)) return FailWith(ERROR_ACCESS_DENIED);
  if (!S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0) return FailWith(ERROR_ACCESS_DENIED);
  if (unlinkat(parent.fd(), parent.name().c_str(), 0) != 0) return FailFromErrno(*location);
  return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR pathName, void*) {
  const std::optional<DeviceLocation> location =
      MapForFileCall(pathName, NetworkFolderUse::kAllowed);
  if (!location) return FALSE;
  if (location->IsNetworkFolder()) return FailWith(ERROR_ALREADY_EXISTS);
  BeneathParent parent(*location);
  if (parent.fd() < 0) return FailWith(ERROR_PATH_NOT_FOUND);
  if (parent.name().empty()) return FailWith(ERROR_ALREADY_EXISTS);
  if (mkdirat(parent.fd(), parent.name().c_str(), 0755) != 0) {
    return FailWith(errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
  }
  return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR pathName) {
  const std::optional<DeviceLocation> location = MapForFileCall(pathName);
  if (!location) return FALSE;
  BeneathParent parent(*location);
  if (parent.fd() < 0) return FailWith(ERROR_PATH_NOT_FOUND);
  if (parent.name().empty()) return FailWith(ERROR_ACCESS_DENIED);
  struct stat info {};
  if (fstatat(parent.fd(), parent.name().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return FailWith(ERROR_FILE_NOT_FOUND);
  }
  if (!S_ISDIR(info.st_mode)) return FailWith(ERROR_DIRECTORY);
  if ((info.st_mode & S_IWUSR) == 0) return FailWith(ERROR_ACCESS_DENIED);
  if (unlinkat(parent.fd(), parent.name().c_str(), AT_REMOVEDIR) != 0) {
    return FailFromErrno(*location);
  }
  return TRUE;
}

BOOL GetDiskFreeSpaceExW(LPCWSTR directoryName, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes) {
  const std::optional<DeviceLocation> location =
      MapForFileCall(directoryName ? directoryName : u"\\");
  if (!location) return FALSE;
  LocationFd fd(*location);
  if (fd.get() < 0) return FailFromErrno(*location);
  struct statvfs info {};
  if (fstatvfs(fd.get(), &info) != 0) return FailWith(Win32ErrorFromErrno(errno));
  const uint64_t unit = info.f_frsize;
  if (freeBytesAvailable != nullptr) freeBytesAvailable->QuadPart = unit * info.f_bavail;
  if (totalBytes != nullptr) totalBytes->QuadPart = unit * info.f_blocks;
  if (totalFreeBytes != nullptr) totalFreeBytes->QuadPart = unit * info.f_bfree;
  return TRUE;
}

}  // namespace ce

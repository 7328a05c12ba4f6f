// Path-based file calls: attributes, copies, moves, deletion, folders and free space.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/device_path.h"
#include "platform/file_api.h"
#include "platform/file_host.h"
#include "platform/last_error.h"

namespace ce {
namespace {

// An O_PATH descriptor of an existing mapped path, closed on scope exit.
class PathFd {
 public:
  explicit PathFd(const std::string& host, int flags = O_PATH) : fd_(OpenBeneathRoot(host, flags)) {}
  ~PathFd() {
    if (fd_ >= 0) close(fd_);
  }
  PathFd(const PathFd&) = delete;
  PathFd& operator=(const PathFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool IsDirectory(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
}

BOOL Succeed() {
  return TRUE;
}

BOOL Refuse(DWORD code) {
  SetLastError(code);
  return FALSE;
}

bool CopyContent(int from, int to) {
  for (;;) {
    const ssize_t n = copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
    if (n == 0) return true;
    if (n > 0) continue;
    if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) return false;
    break;  // fall back to plain reads and writes
  }
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = read(from, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = write(to, buffer.data() + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      done += w;
    }
  }
}

}  // namespace

DWORD GetFileAttributesW(LPCWSTR fileName) {
  const std::optional<std::string> host = MapForFileCall(fileName);
  if (!host) return INVALID_FILE_ATTRIBUTES;
  PathFd fd(*host);
  if (fd.get() < 0) {
    FailFromErrno(*host);
    return INVALID_FILE_ATTRIBUTES;
  }
  const std::optional<FileFacts> facts = FactsOf(fd.get());
  return facts ? facts->attributes : INVALID_FILE_ATTRIBUTES;
}

BOOL GetFileAttributesExW(LPCWSTR fileName, GET_FILEEX_INFO_LEVELS level, void* info) {
  if (level != GetFileExInfoStandard || info == nullptr) return Refuse(ERROR_INVALID_PARAMETER);
  const std::optional<std::string> host = MapForFileCall(fileName);
  if (!host) return FALSE;
  PathFd fd(*host);
  if (fd.get() < 0) return FailFromErrno(*host);
  const std::optional<FileFacts> facts = FactsOf(fd.get());
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
  const std::optional<std::string> host = MapForFileCall(fileName);
  if (!host) return FALSE;
  if (*host == DeviceRoot()) return Refuse(ERROR_ACCESS_DENIED);
  PathFd fd(*host);
  if (fd.get() < 0) return FailFromErrno(*host);
  struct stat info {};
  if (fstat(fd.get(), &info) != 0) return FailFromErrno(*host);
  if (S_ISLNK(info.st_mode)) return Refuse(ERROR_ACCESS_DENIED);
  const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0
                          ? info.st_mode & 07555
                          : info.st_mode | S_IWUSR;
  const std::string proc = "/proc/self/fd/" + std::to_string(fd.get());
  if (chmod(proc.c_str(), mode & 07777) != 0) return FailFromErrno(*host);
  if (!StoreAttributes(fd.get(), attributes)) return Refuse(Win32ErrorFromErrno(errno));
  return Succeed();
}

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
  const std::optional<std::string> source = MapForFileCall(existingFileName);
  if (!source) return FALSE;
  const std::optional<std::string> target = MapForFileCall(newFileName);
  if (!target) return FALSE;
  PathFd in(*source, O_RDONLY);
  if (in.get() < 0) return FailFromErrno(*source);
  if (IsDirectory(in.get())) return Refuse(ERROR_ACCESS_DENIED);
  struct stat sourceInfo {};
  fstat(in.get(), &sourceInfo);
  {
    PathFd existing(*target);
    if (existing.get() >= 0) {
      if (failIfExists) return Refuse(ERROR_FILE_EXISTS);
      if (IsDirectory(existing.get()) || !IsWritable(existing.get())) {
        return Refuse(ERROR_ACCESS_DENIED);
      }
      struct stat targetInfo {};
      fstat(existing.get(), &targetInfo);
      if (targetInfo.st_ino == sourceInfo.st_ino && targetInfo.st_dev == sourceInfo.st_dev) {
        return Refuse(ERROR_SHARING_VIOLATION);  // a file copied onto itself
      }
    }
  }
  const int flags = O_WRONLY | O_CREAT | O_TRUNC | (failIfExists ? O_EXCL : 0);
  PathFd out(*target, flags);
  if (out.get() < 0) return errno == EEXIST ? Refuse(ERROR_FILE_EXISTS) : FailFromErrno(*target);
  if (!CopyContent(in.get(), out.get())) return Refuse(Win32ErrorFromErrno(errno));
  StoreAttributes(out.get(), StoredAttributes(in.get()).value_or(FILE_ATTRIBUTE_ARCHIVE) |
                                 FILE_ATTRIBUTE_ARCHIVE);
  const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
  futimens(out.get(), times);
  fchmod(out.get(), sourceInfo.st_mode & 07777);
  return Succeed();
}

BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName) {
  const std::optional<std::string> source = MapForFileCall(existingFileName);
  if (!source) return FALSE;
  const std::optional<std::string> target = MapForFileCall(newFileName);
  if (!target) return FALSE;
  if (*source == DeviceRoot() || *target == DeviceRoot()) return Refuse(ERROR_ACCESS_DENIED);
  BeneathParent from(*source);
  if (from.fd() < 0) return Refuse(ERROR_PATH_NOT_FOUND);
  BeneathParent to(*target);
  if (to.fd() < 0) return Refuse(ERROR_PATH_NOT_FOUND);
  if (renameat2(from.fd(), from.name().c_str(), to.fd(), to.name().c_str(), RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) {
      // A rename that only changes the case of the name reaches the same entry.
      struct stat a {}, b {};
      if (fstatat(from.fd(), from.name().c_str(), &a, AT_SYMLINK_NOFOLLOW) == 0 &&
          fstatat(to.fd(), to.name().c_str(), &b, AT_SYMLINK_NOFOLLOW) == 0 && a.st_ino == b.st_ino &&
          a.st_dev == b.st_dev) {
        if (renameat(from.fd(), from.name().c_str(), to.fd(), to.name().c_str()) == 0) return TRUE;
      }
      return Refuse(ERROR_ALREADY_EXISTS);
    }
    return FailFromErrno(*source);
  }
  return Succeed();
}

BOOL DeleteFileW(LPCWSTR fileName) {
  const std::optional<std::string> host = MapForFileCall(fileName);
  if (!host) return FALSE;
  BeneathParent parent(*host);
  if (parent.fd() < 0) return Refuse(ERROR_PATH_NOT_FOUND);
  if (parent.name().empty()) return Refuse(ERROR_ACCESS_DENIED);
  struct stat info {};
  if (fstatat(parent.fd(), parent.name().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return Refuse(ERROR_FILE_NOT_FOUND);
  }
  if (S_ISDIR(info.st_mode)) return Refuse(ERROR_ACCESS_DENIED);
  if (!S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0) return Refuse(ERROR_ACCESS_DENIED);
  if (unlinkat(parent.fd(), parent.name().c_str(), 0) != 0) return FailFromErrno(*host);
  return Succeed();
}

BOOL CreateDirectoryW(LPCWSTR pathName, void*) {
  const std::optional<std::string> host = MapForFileCall(pathName);
  if (!host) return FALSE;
  BeneathParent parent(*host);
  if (parent.fd() < 0) return Refuse(ERROR_PATH_NOT_FOUND);
  if (parent.name().empty()) return Refuse(ERROR_ALREADY_EXISTS);
  if (mkdirat(parent.fd(), parent.name().c_str(), 0755) != 0) {
    return Refuse(errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
  }
  return Succeed();
}

BOOL RemoveDirectoryW(LPCWSTR pathName) {
  const std::optional<std::string> host = MapForFileCall(pathName);
  if (!host) return FALSE;
  BeneathParent parent(*host);
  if (parent.fd() < 0) return Refuse(ERROR_PATH_NOT_FOUND);
  if (parent.name().empty()) return Refuse(ERROR_ACCESS_DENIED);
  struct stat info {};
  if (fstatat(parent.fd(), parent.name().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return Refuse(ERROR_FILE_NOT_FOUND);
  }
  if (!S_ISDIR(info.st_mode)) return Refuse(ERROR_DIRECTORY);
  if ((info.st_mode & S_IWUSR) == 0) return Refuse(ERROR_ACCESS_DENIED);
  if (unlinkat(parent.fd(), parent.name().c_str(), AT_REMOVEDIR) != 0) return FailFromErrno(*host);
  return Succeed();
}

BOOL GetDiskFreeSpaceExW(LPCWSTR directoryName, ULARGE_INTEGER* freeBytesAvailable,
                         ULARGE_INTEGER* totalBytes, ULARGE_INTEGER* totalFreeBytes) {
  const std::optional<std::string> host = MapForFileCall(directoryName ? directoryName : u"\\");
  if (!host) return FALSE;
  PathFd fd(*host);
  if (fd.get() < 0) return FailFromErrno(*host);
  struct statvfs info {};
  if (fstatvfs(fd.get(), &info) != 0) return Refuse(Win32ErrorFromErrno(errno));
  const uint64_t unit = info.f_frsize;
  if (freeBytesAvailable != nullptr) freeBytesAvailable->QuadPart = unit * info.f_bavail;
  if (totalBytes != nullptr) totalBytes->QuadPart = unit * info.f_blocks;
  if (totalFreeBytes != nullptr) totalFreeBytes->QuadPart = unit * info.f_bfree;
  return Succeed();
}

}  // namespace ce

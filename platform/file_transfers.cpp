// CopyFileW and MoveFileW, within a volume and between the device root and connected shares.
//
// A move within a volume renames the entry. A move between volumes (the root and a share, or
// two shares) is what the device does between volumes: a file moves (renamed when both host
// folders are on one host file system, else copied with its attributes, times and record, then
// deleted), a folder does not (ERROR_NOT_SAME_DEVICE, 17). Either way the destination must
// not exist (ERROR_ALREADY_EXISTS, 183), and a failed copy leaves the source as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/device_path.h"
#include "platform/file_api.h"
#include "platform/file_host.h"
#include "platform/last_error.h"
#include "platform/utf8.h"

namespace ce {
namespace {

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

// The content, times and permissions of `in` (described by `info`) given to `out`.
bool CopyFileBody(int in, const struct stat& info, int out) {
  if (!CopyContent(in, out)) return false;
  const timespec times[2] = {info.st_atim, info.st_mtim};
  futimens(out, times);
  fchmod(out, info.st_mode & 07777);
  return true;
}

// A file moved to another volume by copying it; the source is deleted once the copy is whole.
BOOL CopyAcrossVolumes(const DeviceLocation& source, const BeneathParent& from,
                       const DeviceLocation& target, const BeneathParent& to) {
  LocationFd in(source, O_RDONLY);
  if (in.get() < 0) return FailFromErrno(source);
  struct stat info {};
  if (fstat(in.get(), &info) != 0) return FailFromErrno(source);
  LocationFd out(target, O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (out.get() < 0)
    return errno == EEXIST ? FailWith(ERROR_ALREADY_EXISTS) : FailFromErrno(target);
  if (!CopyFileBody(in.get(), info, out.get()) ||
      unlinkat(from.fd(), from.name().c_str(), 0) != 0) {
    const DWORD code = Win32ErrorFromErrno(errno);
    unlinkat(to.fd(), to.name().c_str(), 0);
    return FailWith(code);
  }
  StoreAttributes(out.get(), StoredAttributes(in.get()).value_or(FILE_ATTRIBUTE_ARCHIVE));
  if (std::optional<FILETIME> created = StoredCreationTime(in.get())) {
    StoreCreationTime(out.get(), *created);
  }
  return TRUE;
}

BOOL MoveAcrossVolumes(const DeviceLocation& source, const BeneathParent& from,
                       const DeviceLocation& target, const BeneathParent& to) {
  struct stat info {};
  if (fstatat(from.fd(), from.name().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    return FailFromErrno(source);
  }
  if (S_ISDIR(info.st_mode)) return FailWith(ERROR_NOT_SAME_DEVICE);
  if (renameat2(from.fd(), from.name().c_str(), to.fd(), to.name().c_str(), RENAME_NOREPLACE) ==
      0) {
    return TRUE;
  }
  if (errno == EEXIST) return FailWith(ERROR_ALREADY_EXISTS);
  if (errno != EXDEV) return FailFromErrno(source);
  return CopyAcrossVolumes(source, from, target, to);
}

}  // namespace

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
  const std::optional<DeviceLocation> source = MapForFileCall(existingFileName);
  if (!source) return FALSE;
  const std::optional<DeviceLocation> target = MapForFileCall(newFileName);
  if (!target) return FALSE;
  LocationFd in(*source, O_RDONLY);
  if (in.get() < 0) return FailFromErrno(*source);
  if (IsDirectoryFd(in.get())) return FailWith(ERROR_ACCESS_DENIED);
  struct stat sourceInfo {};
  fstat(in.get(), &sourceInfo);
  {
    LocationFd existing(*target);
    if (existing.get() >= 0) {
      if (failIfExists) return FailWith(ERROR_FILE_EXISTS);
      if (IsDirectoryFd(existing.get()) || !IsWritable(existing.get())) {
        return FailWith(ERROR_ACCESS_DENIED);
      }
      struct stat targetInfo {};
      fstat(existing.get(), &targetInfo);
      if (targetInfo.st_ino == sourceInfo.st_ino && targetInfo.st_dev == sourceInfo.st_dev) {
        return FailWith(ERROR_SHARING_VIOLATION);  // a file copied onto itself
      }
    }
  }
  const int flags = O_WRONLY | O_CREAT | O_TRUNC | (failIfExists ? O_EXCL : 0);
  LocationFd out(*target, flags, 0644);
  if (out.get() < 0) return errno == EEXIST ? FailWith(ERROR_FILE_EXISTS) : FailFromErrno(*target);
  if (!CopyFileBody(in.get(), sourceInfo, out.get())) return FailWith(Win32ErrorFromErrno(errno));
  StoreAttributes(out.get(), StoredAttributes(in.get()).value_or(FILE_ATTRIBUTE_ARCHIVE) |
                                 FILE_ATTRIBUTE_ARCHIVE);
  return TRUE;
}

BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName) {
  const std::optional<DeviceLocation> source = MapForFileCall(existingFileName);
  if (!source) return FALSE;
  const std::optional<DeviceLocation> target = MapForFileCall(newFileName);
  if (!target) return FALSE;
  if (source->AtTop() || target->AtTop()) return FailWith(ERROR_ACCESS_DENIED);
  BeneathParent from(*source);
  if (from.fd() < 0) return FailWith(ERROR_PATH_NOT_FOUND);
  BeneathParent to(*target);
  if (to.fd() < 0) return FailWith(ERROR_PATH_NOT_FOUND);
  if (!source->SameVolume(*target)) return MoveAcrossVolumes(*source, from, *target, to);
  if (source->relative == target->relative) {
    // Both names reach the same entry: only the case changes, to the spelling asked for.
    const std::u16string_view wanted(newFileName);
    const std::optional<std::string> spelt =
        Utf16ToUtf8Strict(wanted.substr(wanted.find_last_of(u"\\/") + 1));
    if (!spelt || spelt->empty()) return FailWith(ERROR_INVALID_NAME);
    if (renameat(from.fd(), from.name().c_str(), to.fd(), spelt->c_str()) != 0) {
      return FailFromErrno(*source);
    }
    return TRUE;
  }
  if (renameat2(from.fd(), from.name().c_str(), to.fd(), to.name().c_str(), RENAME_NOREPLACE) !=
      0) {
    return errno == EEXIST ? FailWith(ERROR_ALREADY_EXISTS) : FailFromErrno(*source);
  }
  return TRUE;
}

}  // namespace ce

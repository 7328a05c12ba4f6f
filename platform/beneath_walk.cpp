// Case-insensitive name lookup with containment checks on every symbolic link met on the way,
// and the kernel-enforced open beneath a folder.
#include "platform/beneath_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/last_error.h"
#include "platform/utf8.h"

namespace ce {
namespace {

constexpr size_t kMaxHostPathBytes = PATH_MAX - 1;
constexpr int kMaxLinkHops = 40;

// openat2 (which the C library does not wrap), close-on-exec always; -1 with errno on failure.
int OpenAt2(int directoryFd, const char* path, int flags, mode_t mode, uint64_t resolve) {
  open_how how{};
  how.flags = static_cast<uint64_t>(flags) | O_CLOEXEC;
  how.mode = mode;
  how.resolve = resolve;
  return static_cast<int>(syscall(SYS_openat2, directoryFd, path, &how, sizeof how));
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Whether the existing entry `path`, a symbolic link, leads inside `folder`. A dangling link is
// followed by hand, the way creating a file through it would follow it.
bool LinkStaysInside(const std::string& path, const std::string& folder, int hops) {
  if (std::optional<std::string> real = CanonicalPath(path)) return IsInsideFolder(*real, folder);
  if (errno != ENOENT || hops > kMaxLinkHops) return false;
  char target[PATH_MAX];
  const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
  if (length <= 0) return false;
  std::string link(target, static_cast<size_t>(length));
  const size_t slash = link.rfind('/');
  const std::string name = slash == std::string::npos ? link : link.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return false;
  std::string directory;
  if (slash == std::string::npos) {
    directory = ParentOf(path);
  } else if (link.front() == '/') {
    directory = slash == 0 ? "/" : link.substr(0, slash);
  } else {
    directory = ParentOf(path) + "/" + link.substr(0, slash);
  }
  std::optional<std::string> realDirectory = CanonicalPath(directory);
  if (!realDirectory || !IsInsideFolder(*realDirectory, folder)) return false;
  const std::string next = (*realDirectory == "/" ? "" : *realDirectory) + "/" + name;
  struct stat info {};
  if (lstat(next.c_str(), &info) != 0) return true;  // would be created inside the folder
  if (!S_ISLNK(info.st_mode)) return IsInsideFolder(next, folder);
  return LinkStaysInside(next, folder, hops + 1);
}

// The entry of `directory` whose name equals `name` without regard to case; the first in
// byte order when several do.
std::optional<std::string> FindIgnoringCase(const std::string& directory, const std::string& name) {
  struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
  };
  std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
  if (!dir) return std::nullopt;
  const std::u16string wanted = Utf8ToUtf16(name);
  std::optional<std::string> best;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (EqualIgnoringCase(Utf8ToUtf16(candidate), wanted) && (!best || candidate < *best)) {
      best = candidate;
    }
  }
  return best;
}

}  // namespace

std::optional<std::string> CanonicalPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
  if (folder == "/") return !path.empty() && path.front() == '/';
  return path == folder ||
         (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
          path[folder.size()] == '/');
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  UErrorCode status = U_ZERO_ERROR;
  const int32_t order =
      u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                       static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &status);
  return U_SUCCESS(status) && order == 0;
}

namespace {

// The host path of `names` below `base` when every name is an existing entry spelt exactly so
// and no link lies anywhere on the path: then the walk below would take each name as it is and
// meet no link to check, and one lookup by the kernel answers for all of them.
std::optional<std::string> ExactPathWithoutLinks(const std::string& base,
                                                 const std::vector<std::string>& names) {
  std::string host = base;
  for (const std::string& name : names) host.append("/").append(name);
  if (host.size() > kMaxHostPathBytes) return std::nullopt;
  // No O_NOFOLLOW: a link as the last name must be refused too, not opened as itself.
  const int fd = OpenAt2(AT_FDCWD, host.c_str(), O_PATH, 0, RESOLVE_NO_SYMLINKS);
  if (fd < 0) return std::nullopt;
  close(fd);
  return host.substr(base.size() + 1);
}

}  // namespace

std::optional<std::string> WalkBeneath(const std::string& folder,
                                       const std::vector<std::string>& names) {
  const std::string base = folder == "/" ? std::string() : folder;
  // A path of one name costs one lookup either way; deeper ones take the shortcut first.
  if (names.size() >= 2) {
    if (std::optional<std::string> exact = ExactPathWithoutLinks(base, names)) return exact;
  }
  std::string host = base;
  bool existing = true;
  for (const std::string& name : names) {
    std::string next = host + "/" + name;
    if (next.size() > kMaxHostPathBytes) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return std::nullopt;
    }
    if (existing) {
      struct stat info {};
      if (lstat(next.c_str(), &info) != 0) {
        std::optional<std::string> match;
        if (errno == ENOENT) match = FindIgnoringCase(host.empty() ? "/" : host, name);
        if (match) {
          next = host + "/" + *match;
          if (lstat(next.c_str(), &info) != 0) existing = false;
        } else {
          existing = false;
        }
      }
      // Every directory listed or entered so far is inside the folder; a link must keep it so.
      if (existing && S_ISLNK(info.st_mode) && !LinkStaysInside(next, folder, 0)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return std::nullopt;
      }
    }
    host = std::move(next);
  }
  return host.size() == base.size() ? std::string() : host.substr(base.size() + 1);
}

int OpenBeneath(int folderFd, const std::string& relative, int flags, mode_t mode) {
  const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  const int fd = OpenAt2(folderFd, relative.empty() ? "." : relative.c_str(), flags,
                         creates ? mode : 0, RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS);
  if (fd < 0 && errno == EXDEV) errno = EACCES;  // the path tried to leave the folder
  return fd;
}

int OpenBeneathFolder(const std::string& folder, const std::string& relative, int flags,
                      mode_t mode) {
  const int folderFd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) return -1;
  const int fd = OpenBeneath(folderFd, relative, flags, mode);
  const int saved = errno;
  close(folderFd);
  errno = saved;
  return fd;
}

}  // namespace ce

// Profile files on the device: mapping, reading, and whole-file replacement.
#include "system/profile_engine.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <vector>

#include "platform/code_pages.h"
#include "platform/device_path.h"
#include "platform/last_error.h"
#include "system/profile_text.h"

namespace tq {
namespace {

std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  const int size =
      ce::WideCharToMultiByte(ce::CP_ACP, 0, text.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  ce::WideCharToMultiByte(ce::CP_ACP, 0, text.data(), n, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  const int size = ce::MultiByteToWideChar(ce::CP_ACP, 0, text.data(), n, nullptr, 0);
  std::u16string out(static_cast<size_t>(size), u'\0');
  ce::MultiByteToWideChar(ce::CP_ACP, 0, text.data(), n, out.data(), size);
  return out;
}

// The case folding of the device's ANSI page: every byte that is a character of its own is
// mapped to the byte of its lower-case form (when that form is one byte too).
const ProfileCase& AnsiFolding() {
  static std::mutex mutex;
  static std::map<ce::UINT, ProfileCase> cache;
  const ce::UINT page = ce::GetACP();
  std::lock_guard<std::mutex> lock(mutex);
  auto found = cache.find(page);
  if (found != cache.end()) return found->second;
  ProfileCase folding;
  for (int b = 0x80; b < 0x100; ++b) {
    const char byte = static_cast<char>(b);
    char16_t wide = 0;
    if (ce::MultiByteToWideChar(page, ce::MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1) != 1) continue;
    const char16_t lower = static_cast<char16_t>(u_tolower(wide));
    char back[4] = {};
    ce::BOOL defaulted = 0;
    if (lower != wide &&
        ce::WideCharToMultiByte(page, 0, &lower, 1, back, sizeof back, nullptr, &defaulted) == 1 &&
        !defaulted)
      folding.lower[static_cast<size_t>(b)] = static_cast<unsigned char>(back[0]);
  }
  return cache.emplace(page, folding).first->second;
}

std::optional<std::string> AnsiItem(ProfileItem item) {
  if (!item) return std::nullopt;
  return ToAnsi(*item);
}

bool ReadAll(int fd, std::string* out) {
  char chunk[65536];
  while (true) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    out->append(chunk, static_cast<size_t>(n));
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The file's text; nullopt (last error set) when it cannot be read; empty when absent and
// `absentIsEmpty`.
std::optional<std::string> ReadFileText(const std::string& path, bool absentIsEmpty) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) {
    if (errno == ENOENT && absentIsEmpty) return std::string();
    ce::SetLastErrorFromErrno();
    return std::nullopt;
  }
  std::string text;
  const bool ok = ReadAll(fd, &text);
  const int saved = errno;
  close(fd);
  if (!ok) {
    ce::SetLastErrorFromErrno(saved);
    return std::nullopt;
  }
  return text;
}

bool ReplaceFile(const std::string& path, std::string_view text) {
  const std::string temporary = path + ".~" + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    ce::SetLastErrorFromErrno();
    return false;
  }
  const bool written = WriteAll(fd, text) && fsync(fd) == 0;
  const int saved = errno;
  close(fd);
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    ce::SetLastErrorFromErrno(written ? errno : saved);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Writers of one folder take turns: an exclusive lock on the folder itself.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ >= 0) flock(fd_, LOCK_EX);
  }
  ~FolderLock() {
    if (fd_ >= 0) close(fd_);
  }
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
};

std::optional<std::string> HostPathOf(std::u16string_view file, bool forWriting) {
  std::optional<std::string> path = ce::MapDevicePath(file);
  // The device always has its \Windows folder; a fresh simulated device gets it on demand.
  if (!path && forWriting && file == kDefaultProfileFile) {
    if (std::optional<std::string> folder = ce::MapDevicePath(u"\\Windows")) {
      mkdir(folder->c_str(), 0755);
      path = ce::MapDevicePath(file);
    }
  }
  if (path && forWriting && file == kDefaultProfileFile) mkdir(FolderOf(*path).c_str(), 0755);
  return path;
}

}  // namespace

bool ProfileEngineWrite(std::u16string_view section, ProfileItem key, ProfileItem value,
                        std::u16string_view file) {
  if (section.empty()) return false;
  const std::optional<std::string> path = HostPathOf(file, true);
  if (!path) return false;
  FolderLock lock(FolderOf(*path));
  if (!lock.held()) {
    if (errno == ENOENT || errno == ENOTDIR)
      ce::SetLastError(ce::ERROR_PATH_NOT_FOUND);
    else
      ce::SetLastErrorFromErrno();
    return false;
  }
  const std::optional<std::string> text = ReadFileText(*path, true);
  if (!text) return false;
  const std::optional<std::string> k = AnsiItem(key), v = AnsiItem(value);
  const std::string edited = EditProfileText(
      *text, ToAnsi(section), k ? std::optional<std::string_view>(*k) : std::nullopt,
      v ? std::optional<std::string_view>(*v) : std::nullopt);
  struct stat info;
  if (edited == *text && stat(path->c_str(), &info) == 0) return true;
  return ReplaceFile(*path, edited);
}

std::u16string ProfileEngineRead(ProfileItem section, ProfileItem key, ProfileItem defaultText,
                                 std::u16string_view file, size_t bufferBytes) {
  if (bufferBytes == 0) return {};
  std::optional<std::string> found;
  if (const std::optional<std::string> path = HostPathOf(file, false)) {
    if (const std::optional<std::string> text = ReadFileText(*path, false)) {
      const std::optional<std::string> s = AnsiItem(section), k = AnsiItem(key);
      found =
          ReadProfileText(*text, s ? std::optional<std::string_view>(*s) : std::nullopt,
                          k ? std::optional<std::string_view>(*k) : std::nullopt, AnsiFolding());
    }
  }
  std::string bytes = found ? *found : defaultText ? ToAnsi(*defaultText) : std::string();
  if (bytes.size() > bufferBytes - 1) bytes.resize(bufferBytes - 1);
  return FromAnsi(bytes);
}

std::optional<size_t> ProfileFileSize(std::u16string_view file) {
  const std::optional<std::string> path = ce::MapDevicePath(file);
  struct stat info;
  if (!path || stat(path->c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<size_t>(info.st_size);
}

bool ProfileFileDelete(std::u16string_view file) {
  const std::optional<std::string> path = ce::MapDevicePath(file);
  if (!path) return false;
  if (unlink(path->c_str()) != 0) {
    ce::SetLastErrorFromErrno();
    return false;
  }
  return true;
}

}  // namespace tq

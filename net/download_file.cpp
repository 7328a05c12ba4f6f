// Creating and writing a download's local file beneath the device root.
#include "net/download_file.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/device_path.h"
#include "platform/last_error.h"

namespace tq::net {

int OpenBeneathDeviceRoot(std::u16string_view devicePath, int flags, int mode) {
  std::optional<std::string> host = ce::MapDevicePath(devicePath);
  if (!host) return -1;
  const std::string root = ce::DeviceRoot();
  // The mapped path is the root or lies beneath it (see device_path.h).
  const size_t skip = root == "/" ? 1 : root.size() + 1;
  std::string relative(".");
  if (host->size() > skip) relative.assign(*host, skip, std::string::npos);
  const int rootFd = ::open(root.c_str(), O_DIRECTORY | O_PATH | O_CLOEXEC);
  if (rootFd < 0) {
    ce::SetLastErrorFromErrno();
    return -1;
  }
  open_how how{};
  how.flags = static_cast<uint64_t>(flags | O_CLOEXEC);
  how.mode = static_cast<uint64_t>(mode);
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
  int fd;
  do {
    fd = static_cast<int>(::syscall(SYS_openat2, rootFd, relative.c_str(), &how, sizeof how));
  } while (fd < 0 && (errno == EINTR || errno == EAGAIN));
  const int saved = errno;
  ::close(rootFd);
  if (fd < 0) {
    // A path that would leave the root reads as access denied, as the device would see it.
    // Creating in a missing folder is a missing path on the device, not a missing file.
    ce::SetLastError(saved == EXDEV                          ? ce::ERROR_ACCESS_DENIED
                     : saved == ENOENT && (flags & O_CREAT) ? ce::ERROR_PATH_NOT_FOUND
                                                            : ce::Win32ErrorFromErrno(saved));
  }
  return fd;
}

DownloadFile::~DownloadFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool DownloadFile::Create(std::u16string_view devicePath) {
  fd_ = OpenBeneathDeviceRoot(devicePath, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd_ < 0) {
    error_ = ce::GetLastError();
    return false;
  }
  posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  buffer_.reserve(kBufferBytes);
  return true;
}

bool DownloadFile::Flush() {
  size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = ce::Win32ErrorFromErrno(n < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  buffer_.clear();
  return true;
}

bool DownloadFile::Write(const char* data, size_t size) {
  if (fd_ < 0) return false;
  written_ += size;
  if (buffer_.size() + size > kBufferBytes && !Flush()) return false;
  if (size >= kBufferBytes) {  // a large block goes straight to the file
    buffer_.assign(data, data + size);
    const bool flushed = Flush();
    buffer_.reserve(kBufferBytes);
    return flushed;
  }
  buffer_.insert(buffer_.end(), data, data + size);
  return true;
}

bool DownloadFile::Close() {
  if (fd_ < 0) return error_ == 0;
  const bool flushed = Flush();
  const int status = ::close(fd_);
  fd_ = -1;
  if (status != 0 && flushed) error_ = ce::Win32ErrorFromErrno(errno);
  return flushed && status == 0;
}

}  // namespace tq::net

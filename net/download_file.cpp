// Creating and writing a download's local file beneath its volume's folder (the device root
// or a connected share).
#include "net/download_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/device_path.h"
#include "platform/file_host.h"
#include "platform/last_error.h"

namespace tq::net {

int OpenBeneathDeviceRoot(std::u16string_view devicePath, int flags, int mode) {
  std::optional<ce::DeviceLocation> location = ce::ResolveDevicePath(devicePath);
  if (!location) return -1;
  const int fd = ce::OpenAtLocation(*location, flags | O_CLOEXEC, static_cast<mode_t>(mode));
  if (fd < 0) {
    ce::SetLastError(errno == ENOENT ? ce::MissingPathError(*location)
                                     : ce::Win32ErrorFromErrno(errno));
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

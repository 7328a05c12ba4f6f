// The simulation's files under "<device root>/.device".
#include "platform/device_state_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/device_path.h"
#include "platform/last_error.h"

namespace ce {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string DeviceStateFilePath(std::string_view name) {
  const std::string folder = DeviceRoot() + "/.device";
  mkdir(folder.c_str(), 0755);  // EEXIST is the usual outcome; any other failure shows later
  return folder + "/" + std::string(name);
}

std::optional<std::string> ReadDeviceStateFile(std::string_view name) {
  std::ifstream file(DeviceStateFilePath(name), std::ios::binary);
  if (!file) {
    SetLastErrorFromErrno(errno == 0 ? ENOENT : errno);
    return std::nullopt;
  }
  std::ostringstream content;
  content << file.rdbuf();
  return std::move(content).str();
}

bool DeviceStateFileExists(std::string_view name) {
  struct stat info {};
  return stat(DeviceStateFilePath(name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool WriteDeviceStateFile(std::string_view name, std::string_view content) {
  return ReplaceFileAtomically(DeviceStateFilePath(name), content);
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content) {
  const std::string temporary = path + ".tmp." + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  const bool written = WriteAll(fd, content);
  const int savedErrno = errno;
  close(fd);
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    SetLastErrorFromErrno(written ? errno : savedErrno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool AppendDeviceStateFile(std::string_view name, std::string_view line) {
  const int fd =
      open(DeviceStateFilePath(name).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  const bool written = WriteAll(fd, line);
  if (!written) SetLastErrorFromErrno();
  close(fd);
  return written;
}

bool RemoveDeviceStateFile(std::string_view name) {
  if (unlink(DeviceStateFilePath(name).c_str()) == 0 || errno == ENOENT) return true;
  SetLastErrorFromErrno();
  return false;
}

}  // namespace ce

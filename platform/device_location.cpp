// Opening device locations beneath the folder of their volume.
#include "platform/device_location.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/beneath_walk.h"

namespace ce {

std::string DeviceLocation::HostPath() const {
  if (relative.empty()) return base;
  return (base == "/" ? std::string() : base) + "/" + relative;
}

int OpenAtLocation(const DeviceLocation& location, int flags, mode_t mode) {
  if (location.IsNetworkFolder()) {
    errno = EACCES;
    return -1;
  }
  return OpenBeneathFolder(location.base, location.relative, flags, mode);
}

BeneathParent::BeneathParent(const DeviceLocation& location) {
  if (location.IsNetworkFolder()) {
    errno = EACCES;
    return;
  }
  const size_t slash = location.relative.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : location.relative.substr(0, slash);
  name_ = slash == std::string::npos ? location.relative : location.relative.substr(slash + 1);
  fd_ = OpenBeneathFolder(location.base, folder, O_PATH | O_DIRECTORY, 0);
}

BeneathParent::~BeneathParent() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace ce

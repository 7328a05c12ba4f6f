// Where a device path leads: a volume and the path beneath it. The device's files live in two
// kinds of host folders: the device root, and the folders of the shares connected under
// \Network (network_folder.h); \Network itself is a folder of the device with no host folder.
// Every file is reached by opening its path beneath its volume's folder, never by its full
// host path, so what holds for the root holds for each share: nothing outside the volume's
// folder is reached, whatever links lie in it or are swapped in during a call.
//
// Invariants: `base` is canonical; `relative` is empty or plain names joined by "/" (never
// "." or ".."); for the network folder both are empty.
#pragma once

#include <sys/types.h>

#include <string>

namespace ce {

enum class DeviceVolume { kRoot, kNetworkFolder, kShare };

struct DeviceLocation {
  DeviceVolume volume = DeviceVolume::kRoot;
  std::string base;          // the host folder of the root or of the share
  std::string relative;      // beneath base; "" at the volume's top
  std::u16string shareName;  // the local name of a share, as connected

  bool AtTop() const { return relative.empty(); }
  bool IsNetworkFolder() const { return volume == DeviceVolume::kNetworkFolder; }
  bool IsRootTop() const { return volume == DeviceVolume::kRoot && relative.empty(); }
  bool SameVolume(const DeviceLocation& other) const {
    return volume == other.volume && base == other.base;
  }
  // base, or base + "/" + relative; empty for the network folder.
  std::string HostPath() const;
};

// Opens a location beneath its volume's folder (openat2 with RESOLVE_BENEATH). The network
// folder cannot be opened (EACCES). -1 with errno on failure.
int OpenAtLocation(const DeviceLocation& location, int flags, mode_t mode = 0);

// The folder holding a location, opened beneath its volume (O_PATH), and the location's last
// name: the pair that the *at calls (mkdirat, unlinkat, renameat, ...) take. At a volume's
// top the name is empty and fd is the volume's folder; for the network folder fd is -1.
class BeneathParent {
 public:
  explicit BeneathParent(const DeviceLocation& location);
  ~BeneathParent();
  BeneathParent(const BeneathParent&) = delete;
  BeneathParent& operator=(const BeneathParent&) = delete;
  int fd() const { return fd_; }
  const std::string& name() const { return name_; }
  const char* nameOrDot() const { return name_.empty() ? "." : name_.c_str(); }

 private:
  int fd_ = -1;
  std::string name_;
};

}  // namespace ce

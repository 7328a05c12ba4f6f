// The network settings of the device, from its description.
#include "platform/network_settings.h"

#include <mutex>

#include "platform/device_description.h"

namespace ce {
namespace {

std::mutex gMutex;
std::shared_ptr<const NetworkSettings> gSettings;         // guarded by gMutex
std::shared_ptr<const DeviceDescription> gDerivedFrom;    // guarded by gMutex
bool gForced = false;                                     // guarded by gMutex

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// "\\server\share" into its two names; false for another shape (the share is left out).
bool SplitRemoteName(std::u16string_view remote, ConnectableShare* out) {
  if (remote.size() < 5 || !IsSeparator(remote[0]) || !IsSeparator(remote[1])) return false;
  remote.remove_prefix(2);
  size_t cut = 0;
  while (cut < remote.size() && !IsSeparator(remote[cut])) ++cut;
  if (cut == 0 || cut + 1 >= remote.size()) return false;
  for (char16_t c : remote.substr(cut + 1)) {
    if (IsSeparator(c)) return false;
  }
  out->server = std::u16string(remote.substr(0, cut));
  out->share = std::u16string(remote.substr(cut + 1));
  return true;
}

NetworkSettings Derive(const DeviceDescription& description) {
  NetworkSettings settings;
  settings.socketLibrary = description.sockets.library;
  settings.addressInfo = description.sockets.addressInfo;
  settings.connectionService = description.networkConnection;
  for (const auto& [remote, share] : description.shares) {
    ConnectableShare entry;
    if (!SplitRemoteName(remote, &entry)) continue;
    entry.hostPath = share.hostPath;
    entry.password = share.password;
    settings.shares.push_back(std::move(entry));
  }
  return settings;
}

}  // namespace

std::shared_ptr<const NetworkSettings> CurrentNetworkSettings() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gForced) return gSettings;
  std::shared_ptr<const DeviceDescription> description = CurrentDeviceDescription();
  if (!gSettings || gDerivedFrom != description) {
    gSettings = std::make_shared<const NetworkSettings>(Derive(*description));
    gDerivedFrom = std::move(description);
  }
  return gSettings;
}

void SetNetworkSettingsForTesting(std::shared_ptr<const NetworkSettings> settings) {
  std::lock_guard<std::mutex> lock(gMutex);
  gForced = settings != nullptr;
  gSettings = std::move(settings);
  gDerivedFrom.reset();
}

}  // namespace ce

// What the simulated device offers on the network side, taken from the device's description
// (device_description.h: the members "sockets" and "shares"): the name of its socket library,
// whether that library has the address-information procedures, whether the device has a
// network-connection service, and the shares it can connect, split into server and share.
//
// Invariants: derived once from each description in force; tests may put other settings in
// force. Share names are kept as written; lookups ignore case.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ce {

struct ConnectableShare {
  std::u16string server;  // without the leading backslashes
  std::u16string share;
  std::string hostPath;   // the host directory behind the share
  std::optional<std::u16string> password;  // absent: any password connects
};

struct NetworkSettings {
  std::u16string socketLibrary = u"Ws2.dll";  // empty: no socket library
  bool addressInfo = true;
  bool connectionService = true;
  std::vector<ConnectableShare> shares;
};

// The settings of the device in force.
std::shared_ptr<const NetworkSettings> CurrentNetworkSettings();

// Tests: put settings in force (nullptr: derive them from the description again).
void SetNetworkSettingsForTesting(std::shared_ptr<const NetworkSettings> settings);

}  // namespace ce

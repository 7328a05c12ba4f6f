// What the simulated device offers on the network side, from the device's description
// (.device/device.json in the device root):
//
//   "sockets": {"library": "Ws2.dll", "address_info": true}
//       library: the name under which the device has its socket library ("Ws2.dll" or
//       "Winsock.dll"; null: the device has none). address_info false: the library lacks
//       getaddrinfo, getnameinfo and freeaddrinfo.
//   "shares": {"\\\\server\\share": {"path": "/host/dir", "password": "secret"}}
//       the network shares the device can connect (password optional: any is accepted).
//       null: the device has no network-connection service at all.
//
// Invariants: read once per process and device root (the file is read at the first use); a
// malformed file or member is reported once on standard error, naming the member, and that
// member's defaults are used. Share names are kept as written; lookups ignore case.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace ce {

struct NetworkShare {
  std::u16string server;  // without the leading backslashes
  std::u16string share;
  std::string hostPath;   // absolute host directory
  bool hasPassword = false;
  std::u16string password;
};

struct NetworkSettings {
  std::u16string socketLibrary = u"Ws2.dll";  // empty: no socket library
  bool addressInfo = true;
  bool connectionService = true;
  std::vector<NetworkShare> shares;
  std::vector<std::string> problems;
};

// The settings of the current device root.
std::shared_ptr<const NetworkSettings> CurrentNetworkSettings();

// Reads the settings from a device.json text (exposed for tests).
NetworkSettings ParseNetworkSettings(std::string_view deviceJson);

// Tests: put settings in force (nullptr: read the device root's file again).
void SetNetworkSettingsForTesting(std::shared_ptr<const NetworkSettings> settings);

}  // namespace ce

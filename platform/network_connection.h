// The device's network-connection service: WNetAddConnection3 over the shares that the
// device's description lists (see network_settings.h), reached like on the device through
// "coredll.dll" by name.
//
// A connection gives a local name to a share; the device's connections are kept in the device
// root (.device/connections.txt, one "NAME<TAB>\\server\share" line each, changed under an
// exclusive lock) so that every process on the same root sees them. A connected local name
// stands for the folder \Network\NAME (network_folder.h).
//
// Results: 0; ERROR_BAD_NETPATH (53) for an unknown server or a remote name that is not
// "\\server\share"; ERROR_BAD_NET_NAME (67) for an unknown share; ERROR_INVALID_PASSWORD (86)
// when the share has a password and another is given; ERROR_ALREADY_ASSIGNED (85) for a local
// name already connected; ERROR_BAD_DEVICE (1200) for a local name that cannot name a folder;
// ERROR_BAD_DEV_TYPE (66) for a printer resource; ERROR_INVALID_PARAMETER (87) for a missing
// resource or remote name. The user name is not checked.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_types.h"

namespace ce {

inline constexpr DWORD ERROR_BAD_DEV_TYPE = 66;
inline constexpr DWORD ERROR_BAD_NET_NAME = 67;
inline constexpr DWORD ERROR_ALREADY_ASSIGNED = 85;
inline constexpr DWORD ERROR_INVALID_PASSWORD = 86;
inline constexpr DWORD ERROR_BAD_DEVICE = 1200;
inline constexpr DWORD RESOURCE_GLOBALNET = 2;
inline constexpr DWORD RESOURCETYPE_ANY = 0;
inline constexpr DWORD RESOURCETYPE_PRINT = 2;
inline constexpr DWORD RESOURCEUSAGE_CONNECTABLE = 1;

struct NETRESOURCEW {
  DWORD dwScope;
  DWORD dwType;
  DWORD dwDisplayType;
  DWORD dwUsage;
  LPWSTR lpLocalName;
  LPWSTR lpRemoteName;
  LPWSTR lpComment;
  LPWSTR lpProvider;
};

using HWND = void*;

DWORD WNetAddConnection3W(HWND owner, NETRESOURCEW* resource, LPCWSTR password, LPCWSTR user,
                          DWORD flags);

// Adds "WNetAddConnection3" to the device's core library when the device has the service.
void RegisterNetworkConnectionService();

// A local name and the host directory of the share connected under it.
struct ConnectedShare {
  std::u16string localName;  // as it was connected
  std::string hostPath;      // as the device's description gives it
};

// The connections that have a local name and whose share the device still describes, in the
// order they were made.
std::vector<ConnectedShare> ConnectedShares();

// The host directory of the share connected under `localName` (any case), if any.
std::optional<std::string> ConnectedShareDirectory(std::u16string_view localName);

}  // namespace ce

// The device's \Network folder: each local name connected with WNetAddConnection3 appears in
// it as a folder, \Network\NAME, which stands for the host folder of the share connected under
// that name (network_connection.h).
//
// Invariants: an entry's folder is canonical and is an existing folder that neither is nor
// holds the device root (such a share would expose the simulation's state folder, so it is
// refused). A name that is not connected, or whose share's folder is missing, has no entry.
// Names compare without regard to case; entries keep the spelling they were connected with.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ce {

// The name of the folder in the device root: "Network".
inline constexpr std::u16string_view kNetworkFolderName = u"Network";

// Whether a root-level name is the network folder's ("Network", any case).
bool IsNetworkFolderName(std::u16string_view name);

struct NetworkFolderEntry {
  std::u16string localName;
  std::string hostFolder;  // canonical
};

// The entries of \Network, in the order the names were connected.
std::vector<NetworkFolderEntry> NetworkFolderEntries();

// The entry of one local name; nullopt with the last error ERROR_FILE_NOT_FOUND when there is
// none, or ERROR_ACCESS_DENIED when its share's folder holds the device root.
std::optional<NetworkFolderEntry> FindNetworkFolderEntry(std::u16string_view localName);

}  // namespace ce

// The \Network folder's entries, from the device's connections and the shares it describes.
#include "platform/network_folder.h"

#include <sys/stat.h>

#include "platform/beneath_walk.h"
#include "platform/device_path.h"
#include "platform/last_error.h"
#include "platform/network_connection.h"

namespace ce {
namespace {

// The entry of a connection, or the code that refuses it.
std::optional<NetworkFolderEntry> EntryOf(const ConnectedShare& share, DWORD* refusal) {
  *refusal = ERROR_FILE_NOT_FOUND;
  const std::optional<std::string> folder = CanonicalPath(share.hostPath);
  struct stat info {};
  if (!folder || stat(folder->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  if (IsInsideFolder(DeviceRoot(), *folder)) {
    *refusal = ERROR_ACCESS_DENIED;
    return std::nullopt;
  }
  return NetworkFolderEntry{share.localName, *folder};
}

}  // namespace

bool IsNetworkFolderName(std::u16string_view name) {
  return EqualIgnoringCase(name, kNetworkFolderName);
}

std::vector<NetworkFolderEntry> NetworkFolderEntries() {
  std::vector<NetworkFolderEntry> entries;
  for (const ConnectedShare& share : ConnectedShares()) {
    DWORD refusal = 0;
    if (std::optional<NetworkFolderEntry> entry = EntryOf(share, &refusal)) {
      entries.push_back(std::move(*entry));
    }
  }
  return entries;
}

std::optional<NetworkFolderEntry> FindNetworkFolderEntry(std::u16string_view localName) {
  for (const ConnectedShare& share : ConnectedShares()) {
    if (!EqualIgnoringCase(share.localName, localName)) continue;
    DWORD refusal = 0;
    if (std::optional<NetworkFolderEntry> entry = EntryOf(share, &refusal)) return entry;
    SetLastError(refusal);
    return std::nullopt;
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return std::nullopt;
}

}  // namespace ce

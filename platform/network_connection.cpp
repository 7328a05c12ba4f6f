// Network connections of the simulated device over its configured shares.
#include "platform/network_connection.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <sstream>
#include <vector>

#include "platform/device_path.h"
#include "platform/modules.h"
#include "platform/network_settings.h"
#include "platform/strings.h"
#include "platform/utf8.h"

namespace ce {
namespace {

constexpr size_t kMaxLocalName = 64;

struct Connection {
  std::u16string localName;
  std::u16string remoteName;
};

bool SameName(std::u16string_view a, std::u16string_view b) {
  return CompareStringW(0x0409, 1 /* NORM_IGNORECASE */, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == 2;
}

bool ValidLocalName(std::u16string_view name) {
  if (name.size() > kMaxLocalName || name == u"." || name == u"..") return false;
  for (char16_t c : name) {
    if (c < 32 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
      return false;
  }
  return true;
}

// The connection file, opened and locked for the life of the object.
class ConnectionFile {
 public:
  explicit ConnectionFile(int lockKind) {
    const std::string folder = DeviceRoot() + "/.device";
    ::mkdir(folder.c_str(), 0777);
    fd_ = ::open((folder + "/connections.txt").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ >= 0) ::flock(fd_, lockKind);
  }
  ~ConnectionFile() {
    if (fd_ >= 0) ::close(fd_);  // releases the lock
  }

  std::vector<Connection> Read() const {
    std::vector<Connection> connections;
    if (fd_ < 0) return connections;
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::pread(fd_, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0)
      text.append(buffer, static_cast<size_t>(n));
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
      const size_t tab = line.find('\t');
      if (tab == std::string::npos) continue;
      connections.push_back({Utf8ToUtf16(line.substr(0, tab)), Utf8ToUtf16(line.substr(tab + 1))});
    }
    return connections;
  }

  bool Append(const Connection& connection) const {
    if (fd_ < 0) return false;
    const std::string line =
        Utf16ToUtf8(connection.localName) + "\t" + Utf16ToUtf8(connection.remoteName) + "\n";
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    return end >= 0 && ::pwrite(fd_, line.data(), line.size(), end) ==
                           static_cast<ssize_t>(line.size());
  }

 private:
  int fd_ = -1;
};

// The connections as last read, with the identity of the file they came from. Connections are
// only ever appended, so a file whose size, inode and change time are all unchanged holds the
// same connections: a path resolution then costs one stat instead of opening, locking and
// reading the file. Another process's connection shows at the next resolution as before.
struct ConnectionsSnapshot {
  std::string path;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec changed{};
  std::vector<Connection> connections;

  bool Matches(const std::string& p, const struct stat& info) const {
    return path == p && device == info.st_dev && inode == info.st_ino && size == info.st_size &&
           changed.tv_sec == info.st_ctim.tv_sec && changed.tv_nsec == info.st_ctim.tv_nsec;
  }
};

std::mutex gSnapshotMutex;
ConnectionsSnapshot gSnapshot;  // guarded by gSnapshotMutex

std::vector<Connection> CurrentConnections() {
  const std::string path = DeviceRoot() + "/.device/connections.txt";
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};  // nothing was ever connected
  {
    std::lock_guard<std::mutex> lock(gSnapshotMutex);
    if (gSnapshot.Matches(path, info)) return gSnapshot.connections;
  }
  // Read after the stat: a connection appended in between is read now and, the file's identity
  // having changed since, read again next time.
  std::vector<Connection> connections = ConnectionFile(LOCK_SH).Read();
  std::lock_guard<std::mutex> lock(gSnapshotMutex);
  gSnapshot = {path, info.st_dev, info.st_ino, info.st_size, info.st_ctim, connections};
  return connections;
}

const ConnectableShare* FindShare(const NetworkSettings& settings, std::u16string_view remote,
                              DWORD* failure) {
  auto separator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  *failure = ERROR_BAD_NETPATH;
  if (remote.size() < 3 || !separator(remote[0]) || !separator(remote[1])) return nullptr;
  remote.remove_prefix(2);
  size_t cut = 0;
  while (cut < remote.size() && !separator(remote[cut])) ++cut;
  const std::u16string_view server = remote.substr(0, cut);
  std::u16string_view share = cut < remote.size() ? remote.substr(cut + 1) : u"";
  while (!share.empty() && separator(share.back())) share.remove_suffix(1);
  bool serverKnown = false;
  for (const ConnectableShare& candidate : settings.shares) {
    if (!SameName(candidate.server, server)) continue;
    serverKnown = true;
    if (SameName(candidate.share, share)) return &candidate;
  }
  if (serverKnown) *failure = ERROR_BAD_NET_NAME;
  return nullptr;
}

}  // namespace

DWORD WNetAddConnection3W(HWND, NETRESOURCEW* resource, LPCWSTR password, LPCWSTR, DWORD) {
  if (resource == nullptr || resource->lpRemoteName == nullptr) return ERROR_INVALID_PARAMETER;
  if (resource->dwType == RESOURCETYPE_PRINT) return ERROR_BAD_DEV_TYPE;
  const std::u16string_view local = resource->lpLocalName ? resource->lpLocalName : u"";
  if (!local.empty() && !ValidLocalName(local)) return ERROR_BAD_DEVICE;
  const std::shared_ptr<const NetworkSettings> settings = CurrentNetworkSettings();
  DWORD failure = 0;
  const ConnectableShare* share = FindShare(*settings, resource->lpRemoteName, &failure);
  if (share == nullptr) return failure;
  if (share->password && *share->password != std::u16string_view(password ? password : u""))
    return ERROR_INVALID_PASSWORD;
  if (local.empty()) return 0;  // a connection to the resource only
  ConnectionFile file(LOCK_EX);
  for (const Connection& existing : file.Read()) {
    if (SameName(existing.localName, local)) return ERROR_ALREADY_ASSIGNED;
  }
  const std::u16string remote = u"\\\\" + share->server + u"\\" + share->share;
  return file.Append({std::u16string(local), remote}) ? 0 : ERROR_GEN_FAILURE;
}

std::vector<ConnectedShare> ConnectedShares() {
  const std::shared_ptr<const NetworkSettings> settings = CurrentNetworkSettings();
  std::vector<ConnectedShare> shares;
  for (const Connection& connection : CurrentConnections()) {
    DWORD failure = 0;
    if (const ConnectableShare* share = FindShare(*settings, connection.remoteName, &failure))
      shares.push_back({connection.localName, share->hostPath});
  }
  return shares;
}

std::optional<std::string> ConnectedShareDirectory(std::u16string_view localName) {
  for (const ConnectedShare& share : ConnectedShares()) {
    if (SameName(share.localName, localName)) return share.hostPath;
  }
  return std::nullopt;
}

void RegisterNetworkConnectionService() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (!CurrentNetworkSettings()->connectionService) return;
    AddBuiltinDeviceExports(
        u"coredll.dll",
        {{"WNetAddConnection3", 0, reinterpret_cast<FARPROC>(&WNetAddConnection3W)},
         {"WNetAddConnection3W", 0, reinterpret_cast<FARPROC>(&WNetAddConnection3W)}});
    // The core library is always loaded on the device.
    LoadLibraryW(u"coredll.dll");
  });
}

}  // namespace ce

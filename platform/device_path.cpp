// Resolving device paths into the device root or a connected share, and host paths back.
#include "platform/device_path.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/beneath_walk.h"
#include "platform/device_config.h"
#include "platform/last_error.h"
#include "platform/network_folder.h"
#include "platform/utf8.h"

namespace ce {
namespace {

constexpr size_t kMaxComponentBytes = NAME_MAX;

std::mutex gRootMutex;
std::string gRootSetting;    // guarded by gRootMutex
std::string gRootCanonical;  // guarded by gRootMutex

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

bool IsForbiddenCharacter(char16_t c) {
  return c < 0x20 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|' || c == u'?' ||
         c == u'*';
}

void CreateDirectories(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    mkdir(prefix.c_str(), 0755);  // an existing directory is fine; failures show up later
    if (slash == std::string::npos) break;
  }
}

template <class T>
std::optional<T> Refuse(DWORD code) {
  SetLastError(code);
  return std::nullopt;
}

bool IsNetworkName(const std::string& name) {
  return IsNetworkFolderName(Utf8ToUtf16(name));
}

// The names of a device path, with "." and ".." resolved lexically: ".." stops at the root,
// and inside \Network\NAME at the share's top.
std::optional<std::vector<std::string>> SplitDevicePath(std::u16string_view devicePath) {
  using Names = std::vector<std::string>;
  if (devicePath.empty()) return Refuse<Names>(ERROR_INVALID_NAME);
  for (char16_t c : devicePath) {
    if (IsForbiddenCharacter(c)) return Refuse<Names>(ERROR_INVALID_NAME);
  }
  if (devicePath.size() >= 2 && IsSeparator(devicePath[0]) && IsSeparator(devicePath[1])) {
    return Refuse<Names>(ERROR_INVALID_NAME);  // a UNC name: \\server\share
  }
  Names names;
  size_t floor = 0;  // names that ".." may not remove
  size_t start = 0;
  while (start <= devicePath.size()) {
    size_t end = start;
    while (end < devicePath.size() && !IsSeparator(devicePath[end])) ++end;
    const std::u16string_view part = devicePath.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (names.size() > floor) names.pop_back();
      continue;
    }
    std::optional<std::string> name = Utf16ToUtf8Strict(part);
    if (!name) return Refuse<Names>(ERROR_INVALID_NAME);
    if (name->size() > kMaxComponentBytes) return Refuse<Names>(ERROR_FILENAME_EXCED_RANGE);
    names.push_back(std::move(*name));
    if (floor == 0 && names.size() == 2 && IsNetworkName(names.front())) floor = 2;
  }
  return names;
}

// The device's temporary folder exists whenever a path goes through it.
void CreateTempOnDemand(const std::string& root, const std::string& first) {
  if (!EqualIgnoringCase(Utf8ToUtf16(first), u"Temp")) return;
  const std::string base = root == "/" ? std::string() : root;
  const std::optional<std::string> found = WalkBeneath(root, {first});
  struct stat info {};
  if (found && lstat((base + "/" + *found).c_str(), &info) == 0) return;
  mkdir((base + "/Temp").c_str(), 0755);
}

std::optional<DeviceLocation> ResolveInShare(const std::vector<std::string>& names) {
  std::optional<NetworkFolderEntry> entry = FindNetworkFolderEntry(Utf8ToUtf16(names[1]));
  if (!entry) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND && names.size() > 2) {
      SetLastError(ERROR_PATH_NOT_FOUND);
    }
    return std::nullopt;
  }
  const std::vector<std::string> rest(names.begin() + 2, names.end());
  std::optional<std::string> relative = WalkBeneath(entry->hostFolder, rest);
  if (!relative) return std::nullopt;
  return DeviceLocation{DeviceVolume::kShare, std::move(entry->hostFolder), std::move(*relative),
                        std::move(entry->localName)};
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string("/");
}

// An absolute host path with "." and ".." resolved lexically.
std::string NormalizedHostPath(std::string_view hostPath) {
  std::string absolute(hostPath);
  if (absolute.front() != '/') absolute = CurrentDirectory() + "/" + absolute;
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= absolute.size()) {
    size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    const std::string_view part = std::string_view(absolute).substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string normalized;
  for (std::string_view part : parts) normalized.append("/").append(part);
  if (normalized.empty()) normalized.push_back('/');
  return normalized;
}

}  // namespace

std::string DeviceRoot() {
  const std::shared_ptr<const DeviceConfig> config = CurrentDeviceConfig();
  std::lock_guard<std::mutex> lock(gRootMutex);
  if (gRootCanonical.empty() || gRootSetting != config->deviceRoot) {
    CreateDirectories(config->deviceRoot);
    gRootSetting = config->deviceRoot;
    gRootCanonical = CanonicalPath(config->deviceRoot).value_or(config->deviceRoot);
  }
  return gRootCanonical;
}

std::optional<DeviceLocation> ResolveDevicePath(std::u16string_view devicePath) {
  const std::optional<std::vector<std::string>> names = SplitDevicePath(devicePath);
  if (!names) return std::nullopt;
  if (!names->empty() && IsNetworkName(names->front())) {
    if (names->size() == 1) return DeviceLocation{DeviceVolume::kNetworkFolder, {}, {}, {}};
    return ResolveInShare(*names);
  }
  if (!names->empty() && IsDeviceStateName(names->front())) {
    return Refuse<DeviceLocation>(ERROR_ACCESS_DENIED);
  }
  const std::string root = DeviceRoot();
  if (!names->empty()) CreateTempOnDemand(root, names->front());
  std::optional<std::string> relative = WalkBeneath(root, *names);
  if (!relative) return std::nullopt;
  return DeviceLocation{DeviceVolume::kRoot, root, std::move(*relative), {}};
}

std::optional<std::string> MapDevicePath(std::u16string_view devicePath) {
  const std::optional<DeviceLocation> location = ResolveDevicePath(devicePath);
  if (!location) return std::nullopt;
  if (location->IsNetworkFolder()) return Refuse<std::string>(ERROR_ACCESS_DENIED);
  return location->HostPath();
}

bool IsDeviceStateName(std::string_view name) {
  if (name.size() != 7) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] + 32) : name[i];
    if (c != ".device"[i]) return false;
  }
  return true;
}

int OpenBeneathRoot(const std::string& hostPath, int flags, mode_t mode) {
  const std::string root = DeviceRoot();
  if (!IsInsideFolder(hostPath, root)) {
    errno = EACCES;
    return -1;
  }
  const std::string relative = hostPath.size() == root.size()
                                   ? std::string()
                                   : hostPath.substr(root == "/" ? 1 : root.size() + 1);
  return OpenBeneathFolder(root, relative, flags, mode);
}

std::optional<std::u16string> HostToDevicePath(std::string_view hostPath) {
  if (hostPath.empty()) return Refuse<std::u16string>(ERROR_INVALID_NAME);
  const std::string normalized = NormalizedHostPath(hostPath);

  // The folders a device path may stand for: the root (canonical or as configured) and each
  // connected share's; the deepest that holds the path decides.
  struct Volume {
    std::string folder;
    std::u16string prefix;
  };
  std::vector<Volume> volumes = {{DeviceRoot(), u""}, {CurrentDeviceConfig()->deviceRoot, u""}};
  const std::u16string network = u"\\" + std::u16string(kNetworkFolderName) + u"\\";
  for (NetworkFolderEntry& entry : NetworkFolderEntries()) {
    volumes.push_back({std::move(entry.hostFolder), network + entry.localName});
  }
  const Volume* best = nullptr;
  for (const Volume& volume : volumes) {
    if (!IsInsideFolder(normalized, volume.folder)) continue;
    if (best == nullptr || volume.folder.size() > best->folder.size()) best = &volume;
  }
  if (best == nullptr) return Refuse<std::u16string>(ERROR_ACCESS_DENIED);
  const std::string rest =
      best->folder == "/" ? normalized : normalized.substr(best->folder.size());
  std::optional<std::u16string> tail = Utf8ToUtf16Strict(rest);
  if (!tail) return Refuse<std::u16string>(ERROR_INVALID_NAME);
  for (char16_t& c : *tail) {
    if (c == u'/') c = u'\\';
  }
  if (best->prefix.empty()) return tail->empty() ? std::u16string(u"\\") : *tail;
  return best->prefix + *tail;
}

}  // namespace ce

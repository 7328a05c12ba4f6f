// Mapping device paths into the device root, with case-insensitive component lookup and
// containment checks on every symbolic link met on the way.
#include "platform/device_path.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/device_config.h"
#include "platform/last_error.h"
#include "platform/utf8.h"

namespace ce {
namespace {

constexpr size_t kMaxComponentBytes = NAME_MAX;
constexpr size_t kMaxHostPathBytes = PATH_MAX - 1;
constexpr int kMaxLinkHops = 40;

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

std::optional<std::string> RealPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

bool IsInside(const std::string& path, const std::string& root) {
  if (root == "/") return !path.empty() && path.front() == '/';
  return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                          path[root.size()] == '/');
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Whether the existing entry `path`, a symbolic link, leads inside `root`. A dangling link is
// followed by hand, the way creating a file through it would follow it.
bool LinkStaysInside(const std::string& path, const std::string& root, int hops) {
  if (std::optional<std::string> real = RealPath(path)) return IsInside(*real, root);
  if (errno != ENOENT || hops > kMaxLinkHops) return false;
  char target[PATH_MAX];
  const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
  if (length <= 0) return false;
  std::string link(target, static_cast<size_t>(length));
  const size_t slash = link.rfind('/');
  const std::string name = slash == std::string::npos ? link : link.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return false;
  std::string directory;
  if (slash == std::string::npos) {
    directory = ParentOf(path);
  } else if (link.front() == '/') {
    directory = slash == 0 ? "/" : link.substr(0, slash);
  } else {
    directory = ParentOf(path) + "/" + link.substr(0, slash);
  }
  std::optional<std::string> realDirectory = RealPath(directory);
  if (!realDirectory || !IsInside(*realDirectory, root)) return false;
  const std::string next = (*realDirectory == "/" ? "" : *realDirectory) + "/" + name;
  struct stat info {};
  if (lstat(next.c_str(), &info) != 0) return true;  // would be created inside the root
  if (!S_ISLNK(info.st_mode)) return IsInside(next, root);
  return LinkStaysInside(next, root, hops + 1);
}

bool EqualIgnoringCase(const std::u16string& a, const std::u16string& b) {
  UErrorCode status = U_ZERO_ERROR;
  const int32_t order =
      u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                       static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &status);
  return U_SUCCESS(status) && order == 0;
}

// The entry of `directory` whose name equals `name` without regard to case; the first in
// byte order when several do.
std::optional<std::string> FindIgnoringCase(const std::string& directory, const std::string& name) {
  struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
  };
  std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
  if (!dir) return std::nullopt;
  const std::u16string wanted = Utf8ToUtf16(name);
  std::optional<std::string> best;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (EqualIgnoringCase(Utf8ToUtf16(candidate), wanted) && (!best || candidate < *best)) {
      best = candidate;
    }
  }
  return best;
}

std::optional<std::string> Refuse(DWORD code) {
  SetLastError(code);
  return std::nullopt;
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string("/");
}

}  // namespace

std::string DeviceRoot() {
  const std::shared_ptr<const DeviceConfig> config = CurrentDeviceConfig();
  std::lock_guard<std::mutex> lock(gRootMutex);
  if (gRootCanonical.empty() || gRootSetting != config->deviceRoot) {
    CreateDirectories(config->deviceRoot);
    gRootSetting = config->deviceRoot;
    gRootCanonical = RealPath(config->deviceRoot).value_or(config->deviceRoot);
  }
  return gRootCanonical;
}

std::optional<std::string> MapDevicePath(std::u16string_view devicePath) {
  if (devicePath.empty()) return Refuse(ERROR_INVALID_NAME);
  for (char16_t c : devicePath) {
    if (IsForbiddenCharacter(c)) return Refuse(ERROR_INVALID_NAME);
  }
  if (devicePath.size() >= 2 && IsSeparator(devicePath[0]) && IsSeparator(devicePath[1])) {
    return Refuse(ERROR_INVALID_NAME);  // a UNC name: \\server\share
  }

  // Lexical resolution of "." and ".."; ".." at the root stays there.
  std::vector<std::string> components;
  size_t start = 0;
  while (start <= devicePath.size()) {
    size_t end = start;
    while (end < devicePath.size() && !IsSeparator(devicePath[end])) ++end;
    const std::u16string_view part = devicePath.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (!components.empty()) components.pop_back();
      continue;
    }
    std::optional<std::string> name = Utf16ToUtf8Strict(part);
    if (!name) return Refuse(ERROR_INVALID_NAME);
    if (name->size() > kMaxComponentBytes) return Refuse(ERROR_FILENAME_EXCED_RANGE);
    components.push_back(std::move(*name));
  }

  const std::string root = DeviceRoot();
  std::string host = root == "/" ? std::string() : root;
  bool existing = true;
  for (const std::string& name : components) {
    std::string next = host + "/" + name;
    if (next.size() > kMaxHostPathBytes) return Refuse(ERROR_FILENAME_EXCED_RANGE);
    if (existing) {
      struct stat info {};
      if (lstat(next.c_str(), &info) != 0) {
        std::optional<std::string> match;
        if (errno == ENOENT) match = FindIgnoringCase(host.empty() ? "/" : host, name);
        if (match) {
          next = host + "/" + *match;
          if (lstat(next.c_str(), &info) != 0) existing = false;
        } else {
          existing = false;
        }
      }
      // Every directory listed or entered so far is inside the root; a link must keep it so.
      if (existing && S_ISLNK(info.st_mode) && !LinkStaysInside(next, root, 0)) {
        return Refuse(ERROR_ACCESS_DENIED);
      }
    }
    host = std::move(next);
  }
  // push_back rather than assigning a literal: GCC 12 at -O3 reports a false -Wrestrict there.
  if (host.empty()) host.push_back('/');
  if (host.size() > kMaxHostPathBytes) return Refuse(ERROR_FILENAME_EXCED_RANGE);
  return host;
}

std::optional<std::u16string> HostToDevicePath(std::string_view hostPath) {
  if (hostPath.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return std::nullopt;
  }
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

  // The path may be written under the configured root or under its canonical form.
  const std::string root = DeviceRoot();
  const std::string configured = CurrentDeviceConfig()->deviceRoot;
  std::string rest;
  if (IsInside(normalized, root)) {
    rest = root == "/" ? normalized : normalized.substr(root.size());
  } else if (IsInside(normalized, configured)) {
    rest = configured == "/" ? normalized : normalized.substr(configured.size());
  } else {
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }
  std::optional<std::u16string> device = Utf8ToUtf16Strict(rest.empty() ? "/" : rest);
  if (!device) {
    SetLastError(ERROR_INVALID_NAME);
    return std::nullopt;
  }
  for (char16_t& c : *device) {
    if (c == u'/') c = u'\\';
  }
  return device;
}

}  // namespace ce

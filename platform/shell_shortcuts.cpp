// Shortcut files and special folders, with every file reached beneath its volume's folder
// (the device root or a connected share).
#include "platform/shell_shortcuts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/code_page_1252.h"
#include "platform/device_path.h"
#include "platform/last_error.h"

namespace ce {
namespace {

struct SpecialFolder {
  int id;
  const char16_t* path;
};
constexpr SpecialFolder kSpecialFolders[] = {
    {CSIDL_PROGRAMS, u"\\Windows\\Start Menu\\Programs"},
    {CSIDL_PERSONAL, u"\\My Documents"},
    {CSIDL_STARTUP, u"\\Windows\\StartUp"},
    {CSIDL_STARTMENU, u"\\Windows\\Start Menu"},
    {CSIDL_DESKTOPDIRECTORY, u"\\Windows\\Desktop"},
    {CSIDL_FONTS, u"\\Windows\\Fonts"},
    {CSIDL_WINDOWS, u"\\Windows"},
};

// Opens a device path beneath its volume (the root or a connected share); -1 with the last
// error.
int OpenDevicePath(std::u16string_view devicePath, int flags, mode_t mode) {
  const std::optional<DeviceLocation> location = ResolveDevicePath(devicePath);
  if (!location) return -1;
  const int fd = OpenAtLocation(*location, flags, mode);
  if (fd < 0) SetLastErrorFromErrno();
  return fd;
}

// Runs `action` on the parent folder (opened beneath its volume) and the last name.
template <class Action>
bool InParent(std::u16string_view devicePath, Action action) {
  const std::optional<DeviceLocation> location = ResolveDevicePath(devicePath);
  if (!location) return false;
  const BeneathParent parent(*location);
  if (parent.fd() < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  const bool done = action(parent.fd(), parent.nameOrDot()) == 0;
  if (!done) SetLastErrorFromErrno();
  return done;
}

}  // namespace

std::string ShortcutFileContent(std::u16string_view target) {
  std::u16string written(target);
  if (written.find(u' ') != std::u16string::npos) written = u"\"" + written + u"\"";
  std::string content = std::to_string(written.size()) + "#";
  for (const char16_t unit : written) {
    content += static_cast<char>(EncodeCp1252(unit).value_or('?'));
  }
  return content;
}

BOOL SHCreateShortcut(LPWSTR shortcutPath, LPWSTR target) {
  if (shortcutPath == nullptr || target == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int fd = OpenDevicePath(shortcutPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return FALSE;
  const std::string content = ShortcutFileContent(target);
  const bool written = write(fd, content.data(), content.size()) ==
                       static_cast<ssize_t>(content.size());
  if (!written) SetLastErrorFromErrno();
  close(fd);
  return written ? TRUE : FALSE;
}

BOOL SHGetSpecialFolderPath(void*, LPWSTR path, int folder, BOOL create) {
  for (const SpecialFolder& special : kSpecialFolders) {
    if (special.id != folder) continue;
    if (path != nullptr) {
      const std::u16string_view text = special.path;
      text.copy(path, text.size());
      path[text.size()] = u'\0';
    }
    if (create) CreateDeviceFolders(special.path);
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

bool DeviceFileExists(std::u16string_view path) {
  const int fd = OpenDevicePath(path, O_PATH, 0);
  if (fd < 0) return false;
  struct stat info{};
  const bool file = fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
  close(fd);
  return file;
}

bool RemoveDeviceFile(std::u16string_view path) {
  return InParent(path, [](int folder, const char* name) { return unlinkat(folder, name, 0); });
}

bool CreateDeviceFolders(std::u16string_view path) {
  bool created = true;
  for (size_t end = 1; end <= path.size(); ++end) {
    if (end < path.size() && path[end] != u'\\' && path[end] != u'/') continue;
    const std::u16string_view prefix = path.substr(0, end);
    if (prefix.find_first_not_of(u"\\/") == std::u16string_view::npos) continue;
    created = InParent(prefix, [](int folder, const char* name) {
      return mkdirat(folder, name, 0755) == 0 || errno == EEXIST ? 0 : -1;
    });
  }
  return created;
}

}  // namespace ce

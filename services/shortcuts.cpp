// Creating and deleting shortcut files.
#include "services/shortcuts.h"

#include "frame/raise_error.h"
#include "platform/shell_shortcuts.h"

namespace tq {
namespace {

constexpr uint32_t kShortcutFailed = 80231;
constexpr size_t kMaxPath = 260;  // characters, terminating zero included

void AppendPart(std::u16string& path, std::u16string_view part) {
  if (!path.empty() && path.back() != u'\\') path += u'\\';
  path += part;
}

std::optional<std::u16string> BaseFolder(int32_t location) {
  if (location != kProgramsMenu) return std::u16string();
  char16_t folder[kMaxPath] = {};
  if (!ce::SHGetSpecialFolderPath(nullptr, folder, ce::CSIDL_PROGRAMS, ce::FALSE)) {
    return std::nullopt;
  }
  return std::u16string(folder);
}

}  // namespace

std::optional<std::u16string> ShortcutPath(int32_t location, std::u16string_view folder,
                                           std::u16string_view name) {
  std::optional<std::u16string> path = BaseFolder(location);
  if (!path) return std::nullopt;
  AppendPart(*path, folder);
  AppendPart(*path, name);
  *path += u".lnk";
  if (path->size() >= kMaxPath) return std::nullopt;
  return path;
}

bool CreateShortcut(ComponentProxy* proxy, int32_t location, std::u16string_view folder,
                    std::u16string_view name, std::u16string_view target) {
  std::optional<std::u16string> base = BaseFolder(location);
  if (!base) return false;
  AppendPart(*base, folder);
  if (!base->empty()) ce::CreateDeviceFolders(*base);  // a failure shows when writing
  std::optional<std::u16string> path = ShortcutPath(location, folder, name);
  if (path && ce::DeviceFileExists(*path)) return true;
  std::u16string targetText(target);
  if (!path || !ce::SHCreateShortcut(path->data(), targetText.data())) {
    RaiseError(proxy, kShortcutFailed);
    return false;
  }
  return true;
}

bool DeleteShortcut(int32_t location, std::u16string_view folder, std::u16string_view name) {
  const std::optional<std::u16string> path = ShortcutPath(location, folder, name);
  return path && ce::RemoveDeviceFile(*path);
}

}  // namespace tq

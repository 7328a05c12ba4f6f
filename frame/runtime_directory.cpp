// Locating the runtime's installation folder.
#include "frame/runtime_directory.h"

#include <vector>

#include "frame/update_names.h"
#include "platform/file_api.h"
#include "platform/file_types.h"
#include "platform/registry.h"
#include "platform/shell_shortcuts.h"

namespace tq {
namespace {

bool FolderExists(const std::u16string& path) {
  const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
  return attributes != ce::INVALID_FILE_ATTRIBUTES &&
         (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::u16string WithSeparator(std::u16string path) {
  if (path.empty() || (path.back() != u'\\' && path.back() != u'/')) path += u'\\';
  return path;
}

std::u16string RegisteredDirectory() {
  const std::u16string key(kRuntimeKey);
  ce::HKEY handle = nullptr;
  if (ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, key.c_str(), 0, ce::KEY_QUERY_VALUE, &handle) != 0)
    return {};
  std::vector<char16_t> buffer(261, u'\0');
  ce::DWORD size = static_cast<ce::DWORD>((buffer.size() - 1) * sizeof(char16_t));
  ce::DWORD type = 0;
  const ce::LONG status = ce::RegQueryValueExW(
      handle, u"CHEMIN", nullptr, &type, reinterpret_cast<ce::BYTE*>(buffer.data()), &size);
  ce::RegCloseKey(handle);
  return status == 0 ? std::u16string(buffer.data()) : std::u16string();
}

std::u16string WindowsFolderForm() {
  char16_t windows[ce::MAX_PATH + 1] = {};
  std::u16string folder = ce::SHGetSpecialFolderPath(nullptr, windows, ce::CSIDL_WINDOWS, ce::FALSE)
                              ? std::u16string(windows)
                              : std::u16string(u"\\windows");
  if (!FolderExists(folder)) folder = u"\\storage\\windows";
  return WithSeparator(folder) + u"ORVANTE\\TX24.0";
}

}  // namespace

std::u16string RuntimeDirectory() {
  const std::u16string registered = RegisteredDirectory();
  if (!registered.empty() && FolderExists(registered)) return WithSeparator(registered);
  const std::u16string windowsForm = WindowsFolderForm();
  if (FolderExists(windowsForm)) return WithSeparator(windowsForm);
  const std::u16string card = u"\\storage card\\ORVANTE\\TX24.0";
  if (!FolderExists(card) && !FolderExists(u"\\storage card\\WINDOWS"))
    return WithSeparator(windowsForm);
  return WithSeparator(card);
}

}  // namespace tq

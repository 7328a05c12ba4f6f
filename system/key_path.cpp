// Splitting key paths into root and sub-path, and opening the key they name.
#include "system/key_path.h"

namespace tq {
namespace {

struct RootName {
  std::u16string_view name;
  ce::HKEY key;
};

const RootName kRoots[] = {
    {u"HKEY_CLASSES_ROOT", ce::HKEY_CLASSES_ROOT},
    {u"HKEY_CURRENT_USER", ce::HKEY_CURRENT_USER},
    {u"HKEY_LOCAL_MACHINE", ce::HKEY_LOCAL_MACHINE},
    {u"HKEY_USERS", ce::HKEY_USERS},
    {u"HKEY_PERFORMANCE_DATA", nullptr},
    {u"HKEY_CURRENT_CONFIG", nullptr},
    {u"HKEY_DYN_DATA", nullptr},
};

char16_t Upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

}  // namespace

std::optional<SplitPath> SplitKeyPath(std::u16string_view keyPath) {
  if (keyPath.size() > kLongestKeyPath) return std::nullopt;
  SplitPath split{std::u16string(kRoots[0].name), std::u16string(keyPath)};
  for (const RootName& root : kRoots) {
    if (keyPath.substr(0, root.name.size()) == root.name) {
      split.root = root.name;
      split.subPath = keyPath.substr(root.name.size());
      break;
    }
  }
  if (!split.subPath.empty() && split.subPath.front() == u'\\') split.subPath.erase(0, 1);
  if (!split.subPath.empty() && split.subPath.back() == u'\\') split.subPath.pop_back();
  return split;
}

ce::HKEY RootKeyHandle(std::u16string_view rootName) {
  for (const RootName& root : kRoots) {
    if (root.name.size() != rootName.size()) continue;
    bool same = true;
    for (size_t i = 0; i < rootName.size() && same; ++i) same = Upper(rootName[i]) == root.name[i];
    if (same) return root.key;
  }
  return nullptr;
}

ce::HKEY OpenKeyPath(std::u16string_view keyPath, ce::DWORD* error) {
  ce::DWORD code = ce::ERROR_FILE_NOT_FOUND;
  ce::HKEY opened = nullptr;
  if (std::optional<SplitPath> split = SplitKeyPath(keyPath)) {
    if (ce::HKEY root = RootKeyHandle(split->root))
      code = static_cast<ce::DWORD>(
          ce::RegOpenKeyExW(root, split->subPath.c_str(), 0, ce::KEY_READ, &opened));
  } else {
    code = ce::ERROR_FILENAME_EXCED_RANGE;
  }
  if (error != nullptr) *error = code;
  return opened;
}

}  // namespace tq

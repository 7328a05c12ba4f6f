// Special folders of the device, as item lists from the shell allocator.
#include "platform/shell_folders.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace ce {
namespace {

struct FolderPath {
  int csidl;
  std::u16string_view path;  // empty: the folder exists but has no path
};

// The device's special folders (CSIDL identifiers).
constexpr FolderPath kFolders[] = {
    {2, u"\\Windows\\Start Menu\\Programs"},
    {5, u"\\My Documents"},
    {6, u"\\Windows\\Favorites"},
    {7, u"\\Windows\\StartUp"},
    {8, u"\\Windows\\Recent"},
    {11, u"\\Windows\\Start Menu"},
    {16, u"\\Windows\\Desktop"},
    {20, u"\\Windows\\Fonts"},
    {21, u"\\My Documents\\Templates"},
    {26, u"\\Application Data"},
    {32, u"\\Windows\\Temporary Internet Files"},
    {33, u"\\Windows\\Cookies"},
    {34, u"\\Windows\\History"},
    {36, u"\\Windows"},
    {37, u"\\Windows"},
    {38, u"\\Program Files"},
    {39, u"\\My Documents\\My Pictures"},
    {43, u""},
};

class ShellAllocator final : public IMalloc {
 public:
  HRESULT QueryInterface(const void*, void** out) override {
    if (out != nullptr) *out = this;
    return S_OK;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }  // the allocator lives as long as the process
  void* Alloc(size_t size) override { return std::malloc(size); }
  void* Realloc(void* block, size_t size) override { return std::realloc(block, size); }
  void Free(void* block) override { std::free(block); }
  size_t GetSize(void*) override { return static_cast<size_t>(-1); }
  int DidAlloc(void*) override { return -1; }
  void HeapMinimize() override {}
};

ShellAllocator& Allocator() {
  static ShellAllocator allocator;
  return allocator;
}

}  // namespace

HRESULT SHGetSpecialFolderLocation(HWND, int folder, ITEMIDLIST** list) {
  if (list == nullptr) return E_INVALIDARG;
  *list = nullptr;
  for (const FolderPath& f : kFolders) {
    if (f.csidl != folder) continue;
    const size_t pathBytes = (f.path.size() + 1) * sizeof(char16_t);
    const size_t itemBytes = sizeof(WORD) + pathBytes;
    auto* bytes = static_cast<BYTE*>(Allocator().Alloc(itemBytes + sizeof(WORD)));
    if (bytes == nullptr) return E_OUTOFMEMORY;
    const WORD cb = static_cast<WORD>(f.path.empty() ? 0 : itemBytes);
    const WORD end = 0;
    std::memcpy(bytes, &cb, sizeof cb);
    std::memcpy(bytes + sizeof(WORD), f.path.data(), f.path.size() * sizeof(char16_t));
    std::memset(bytes + sizeof(WORD) + f.path.size() * sizeof(char16_t), 0, sizeof(char16_t));
    std::memcpy(bytes + itemBytes, &end, sizeof end);
    *list = reinterpret_cast<ITEMIDLIST*>(bytes);
    return S_OK;
  }
  return E_INVALIDARG;
}

BOOL SHGetPathFromIDList(const ITEMIDLIST* list, WCHAR* path) {
  if (list == nullptr || path == nullptr) return FALSE;
  path[0] = u'\0';
  WORD cb = 0;
  std::memcpy(&cb, list, sizeof cb);
  if (cb <= sizeof(WORD)) return FALSE;  // no item: no path
  const size_t chars = std::min<size_t>((cb - sizeof(WORD)) / sizeof(char16_t), MAX_PATH);
  std::memcpy(path, reinterpret_cast<const BYTE*>(list) + sizeof(WORD), chars * sizeof(char16_t));
  path[chars - 1] = u'\0';
  return TRUE;
}

HRESULT SHGetMalloc(IMalloc** allocator) {
  if (allocator == nullptr) return E_INVALIDARG;
  *allocator = &Allocator();
  return S_OK;
}

}  // namespace ce

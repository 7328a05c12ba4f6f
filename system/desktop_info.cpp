// Window title, special folders through the shell's ordinals, clipboard and screen metrics.
#include "system/desktop_info.h"

#include <cstring>
#include <new>

#include "frame/raise_error.h"
#include "platform/clipboard.h"
#include "platform/display.h"
#include "platform/last_error.h"
#include "platform/modules.h"
#include "platform/shell_folders.h"
#include "platform/window_manager.h"
#include "system/device_globals.h"
#include "system/system_failure.h"

namespace tq {
namespace {

constexpr uint32_t kNotAWindow = 80140;
constexpr uint32_t kNoMemory = 80141;
constexpr uint32_t kOutOfRange = 80145;

struct FolderMapping {
  int32_t folder;
  int csidl;
  const char16_t* fallback;  // null: none
};

constexpr FolderMapping kFolders[] = {
    {0, 36, u"\\Windows"}, {1, 36, u"\\Windows"}, {2, 11, nullptr},  {3, 11, nullptr},
    {4, 2, nullptr},       {5, 2, nullptr},       {6, 6, nullptr},   {7, 6, nullptr},
    {8, 7, nullptr},       {9, 7, nullptr},       {10, 9, nullptr},  {11, 16, nullptr},
    {12, 16, nullptr},     {13, 48, nullptr},     {14, 47, nullptr}, {15, 26, nullptr},
    {16, 35, nullptr},     {17, 28, nullptr},     {18, 5, nullptr},  {19, 46, nullptr},
    {20, 39, nullptr},     {21, 21, nullptr},     {22, 45, nullptr}, {23, 40, nullptr},
    {24, 8, nullptr},      {25, 20, nullptr},     {26, 33, nullptr}, {27, 32, nullptr},
    {28, 38, u"\\Program Files"}, {29, 43, u"\\Program Files"},     {55, 34, nullptr},
    {57, 57, nullptr},     {58, 19, nullptr},     {67, 56, nullptr}, {68, 37, nullptr},
};

using GetLocation = ce::HRESULT (*)(ce::HWND, int, ce::ITEMIDLIST**);
using GetPath = ce::BOOL (*)(const ce::ITEMIDLIST*, ce::WCHAR*);
using GetAllocator = ce::HRESULT (*)(ce::IMalloc**);

const char16_t* Ordinal(uintptr_t n) { return reinterpret_cast<const char16_t*>(n); }

}  // namespace

std::u16string WindowTitle(ComponentProxy* proxy, ce::HWND window, bool foreground) {
  if (foreground) window = ce::GetForegroundWindow();
  if (!ce::IsWindow(window)) {
    RaiseError(proxy, kNotAWindow);
    return u"";
  }
  const int length = ce::GetWindowTextLengthW(window);
  if (length <= 0) return u"";
  std::u16string text;
  try {
    text.resize(static_cast<size_t>(length) + 1);
  } catch (const std::bad_alloc&) {
    RaiseError(proxy, kNoMemory);
    return u"";
  }
  text.resize(static_cast<size_t>(ce::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

std::u16string SpecialFolder(ComponentProxy* proxy, int32_t folder, ce::HWND owner) {
  const FolderMapping* mapping = nullptr;
  for (const FolderMapping& m : kFolders) {
    if (m.folder == folder) mapping = &m;
  }
  if (mapping == nullptr) {
    RaiseError(proxy, kOutOfRange, {folder});
    return u"";
  }
  ce::HMODULE shell = ShellLibrary();
  if (shell == nullptr) {
    ReportSystemFailure(proxy, ce::GetLastError());
    return u"";
  }
  auto location = reinterpret_cast<GetLocation>(ce::GetProcAddressW(shell, Ordinal(10)));
  auto path = reinterpret_cast<GetPath>(ce::GetProcAddressW(shell, Ordinal(11)));
  auto allocator = reinterpret_cast<GetAllocator>(ce::GetProcAddressW(shell, Ordinal(12)));
  std::u16string result;
  if (location == nullptr || path == nullptr || allocator == nullptr) {
    ReportSystemFailure(proxy, ce::GetLastError());
  } else {
    ce::ITEMIDLIST* list = nullptr;
    const ce::HRESULT found = location(owner, mapping->csidl, &list);
    if (found != ce::S_OK) {
      ReportSystemFailure(proxy, static_cast<uint32_t>(found));
    } else {
      char16_t buffer[ce::MAX_PATH] = {};
      if (path(list, buffer)) result = buffer;
      ce::IMalloc* shellAllocator = nullptr;
      if (allocator(&shellAllocator) == ce::S_OK && shellAllocator != nullptr) {
        shellAllocator->Free(list);
        shellAllocator->Release();
      }
      if (result.empty() && mapping->fallback != nullptr) result = mapping->fallback;
    }
  }
  return result;
}

std::u16string ClipboardText(ComponentProxy* proxy, ce::HWND owner) {
  if (!ce::IsClipboardFormatAvailable(ce::CF_UNICODETEXT)) return u"";
  if (!ce::OpenClipboard(owner)) {
    ReportSystemFailure(proxy, ce::GetLastError());
    return u"";
  }
  std::u16string text;
  if (const auto* data = static_cast<const char16_t*>(ce::GetClipboardData(ce::CF_UNICODETEXT))) {
    text = data;
  }
  ce::CloseClipboard();
  return text;
}

int32_t ClipboardBitmapSize(ce::HWND owner, bool height) {
  if (!ce::IsClipboardFormatAvailable(ce::CF_BITMAP) || !ce::OpenClipboard(owner)) return -1;
  ce::BITMAP bitmap{};
  bool described = false;
  if (ce::HANDLE handle = ce::GetClipboardData(ce::CF_BITMAP)) {
    described = ce::GetObjectW(handle, sizeof bitmap, &bitmap) != 0;
  }
  if (!described) {
    if (ce::HANDLE dib = ce::GetClipboardData(ce::CF_DIB)) {
      // A DIB handle is no bitmap object; its header begins with the size, width and height.
      described = ce::GetObjectW(dib, sizeof bitmap, &bitmap) != 0;
      if (!described) {
        std::memcpy(&bitmap, dib, 3 * sizeof(ce::LONG));
        described = true;
      }
    }
  }
  ce::CloseClipboard();
  if (!described) return -1;
  return height ? bitmap.bmHeight : bitmap.bmWidth;
}

int32_t ScreenSize(bool height) {
  return static_cast<int16_t>(ce::GetSystemMetrics(height ? ce::SM_CYSCREEN : ce::SM_CXSCREEN));
}

}  // namespace tq

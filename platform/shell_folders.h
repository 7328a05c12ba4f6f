// The device shell's special folders ("ceshell.dll", ordinals 10, 11 and 12): the location of
// a special folder as an item list, the path of an item list, and the shell allocator that
// frees item lists.
//
// The special folders are the device's usual folders inside the device root (the table in
// shell_folders.cpp); they are not created by asking. Folders the device does not have fail
// with E_INVALIDARG; the common program-files folder has an item list without a path, so that
// callers fall back to their own choice.
//
// Invariants: an item list holds one item (the UTF-16 device path, terminated) followed by the
// zero terminator item; it is allocated with the shell allocator and freed by the caller.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/window_types.h"

namespace ce {

using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);

struct ITEMIDLIST {
  WORD cb;  // size of the first item, this field included; 0 ends the list
  BYTE abID[1];
};

// The shell allocator, called through its table of operations as on the device.
class IMalloc {
 public:
  virtual HRESULT QueryInterface(const void* iid, void** out) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  virtual void* Alloc(size_t size) = 0;
  virtual void* Realloc(void* block, size_t size) = 0;
  virtual void Free(void* block) = 0;
  virtual size_t GetSize(void* block) = 0;
  virtual int DidAlloc(void* block) = 0;
  virtual void HeapMinimize() = 0;

 protected:
  ~IMalloc() = default;
};

HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, ITEMIDLIST** list);
BOOL SHGetPathFromIDList(const ITEMIDLIST* list, WCHAR* path);  // path: MAX_PATH characters
HRESULT SHGetMalloc(IMalloc** allocator);

}  // namespace ce

// The storage-card calls of the device's "note_prj.dll": the cards are the root folders that
// the device's description names (device.json "storage_cards"), enumerated in that order.
//
// Invariants: a search handle is valid from FindFirstFlashCard to CloseFlashCardSearch (the
// device's FindClose for these handles); a device without cards fails FindFirstFlashCard with
// ERROR_NO_MORE_FILES.
#pragma once

#include "platform/windows_types.h"

namespace ce {

// The device's find record (its Win32 form without the alternate name, plus the object id).
struct CE_FIND_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
};

inline const HANDLE kInvalidFlashCardSearch = reinterpret_cast<HANDLE>(-1);

HANDLE FindFirstFlashCard(CE_FIND_DATA* data);
BOOL FindNextFlashCard(HANDLE search, CE_FIND_DATA* data);
BOOL CloseFlashCardSearch(HANDLE search);

}  // namespace ce

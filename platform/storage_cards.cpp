// Storage-card searches over the description's list of card folders.
#include "platform/storage_cards.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/device_description.h"
#include "platform/last_error.h"

namespace ce {
namespace {

struct Search {
  std::vector<std::u16string> names;
  size_t next = 0;
};

std::mutex gMutex;
uintptr_t gNextHandle = 0x7100;
std::map<HANDLE, Search> gSearches;  // guarded by gMutex

void Fill(const std::u16string& name, CE_FIND_DATA* data) {
  *data = CE_FIND_DATA{};
  data->dwFileAttributes = 0x10 | 0x100;  // directory, temporary (a mounted card)
  const size_t n = std::min<size_t>(name.size(), MAX_PATH - 1);
  std::copy_n(name.data(), n, data->cFileName);
}

}  // namespace

HANDLE FindFirstFlashCard(CE_FIND_DATA* data) {
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return kInvalidFlashCardSearch;
  }
  const std::shared_ptr<const DeviceDescription> d = CurrentDeviceDescription();
  if (d->storageCards.empty()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return kInvalidFlashCardSearch;
  }
  std::lock_guard<std::mutex> lock(gMutex);
  HANDLE handle = reinterpret_cast<HANDLE>(gNextHandle++);
  Search& search = gSearches[handle];
  search.names = d->storageCards;
  Fill(search.names[search.next++], data);
  return handle;
}

BOOL FindNextFlashCard(HANDLE handle, CE_FIND_DATA* data) {
  std::lock_guard<std::mutex> lock(gMutex);
  auto found = gSearches.find(handle);
  if (found == gSearches.end() || data == nullptr) {
    SetLastError(found == gSearches.end() ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Search& search = found->second;
  if (search.next >= search.names.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  Fill(search.names[search.next++], data);
  return TRUE;
}

BOOL CloseFlashCardSearch(HANDLE handle) {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gSearches.erase(handle) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

}  // namespace ce

// FindFirstFileW / FindNextFileW / FindClose over the folders of the device root and of the
// connected shares, and over the \Network folder that lists the connected names.
#include <dirent.h>
#include <fcntl.h>
#include <unicode/uchar.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/device_path.h"
#include "platform/file_api.h"
#include "platform/file_host.h"
#include "platform/last_error.h"
#include "platform/network_folder.h"
#include "platform/utf8.h"
#include "platform/wildcard_match.h"

namespace ce {
namespace {

struct SearchRecord {
  std::vector<WIN32_FIND_DATAW> entries;
  size_t next = 0;
};

std::mutex gSearchMutex;
std::unordered_set<SearchRecord*>& LiveSearches() {
  static std::unordered_set<SearchRecord*> searches;  // searches never outlive a call
  return searches;
}

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// Names in the order of their case-folded UTF-16 units, exact order between equal foldings.
bool NameOrder(const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
  const std::u16string_view x(a.cFileName);
  const std::u16string_view y(b.cFileName);
  for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
    const UChar32 fx = u_foldCase(x[i], U_FOLD_CASE_DEFAULT);
    const UChar32 fy = u_foldCase(y[i], U_FOLD_CASE_DEFAULT);
    if (fx != fy) return fx < fy;
  }
  if (x.size() != y.size()) return x.size() < y.size();
  return x < y;
}

WIN32_FIND_DATAW FindDataOf(const FileFacts& facts, std::u16string_view name) {
  WIN32_FIND_DATAW data{};
  data.dwFileAttributes = facts.attributes;
  data.ftCreationTime = facts.creation;
  data.ftLastAccessTime = facts.lastAccess;
  data.ftLastWriteTime = facts.lastWrite;
  data.nFileSizeHigh = static_cast<DWORD>(facts.size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(facts.size);
  std::copy(name.begin(), name.end(), data.cFileName);
  return data;
}

// The connected names matching `mask`, each with the facts of its share's folder.
void CollectNetworkFolder(std::u16string_view mask, SearchRecord* search) {
  for (const NetworkFolderEntry& entry : NetworkFolderEntries()) {
    if (entry.localName.size() >= MAX_PATH || !MatchesFileMask(mask, entry.localName)) continue;
    const int fd = open(entry.hostFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    const std::optional<FileFacts> facts = FactsOf(fd);
    close(fd);
    if (facts) search->entries.push_back(FindDataOf(*facts, entry.localName));
  }
}

// An entry of a listed folder, open for reading its facts (never following a link). Only
// entries listed as files or folders are opened for reading; anything else with O_PATH.
int OpenEntryForFacts(int directoryFd, const dirent& entry) {
  if (entry.d_type == DT_REG || entry.d_type == DT_DIR) {
    const int fd =
        openat(directoryFd, entry.d_name, kOpenForFacts | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) return fd;
  }
  return openat(directoryFd, entry.d_name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
}

// Reads the folder `directoryFd` and keeps the entries whose name matches `mask`.
void Collect(int directoryFd, bool isRoot, std::u16string_view mask, SearchRecord* search) {
  DIR* dir = fdopendir(directoryFd);
  if (dir == nullptr) {
    close(directoryFd);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (isRoot && (IsDeviceStateName(name) || IsNetworkFolderName(Utf8ToUtf16(name)))) continue;
    const std::optional<std::u16string> wide = Utf8ToUtf16Strict(name);
    if (!wide || wide->size() >= MAX_PATH || !MatchesFileMask(mask, *wide)) continue;
    const int fd = OpenEntryForFacts(dirfd(dir), *entry);
    if (fd < 0) continue;
    std::optional<FileFacts> facts = FactsOf(fd);
    close(fd);
    if (!facts) continue;
    search->entries.push_back(FindDataOf(*facts, *wide));
  }
  closedir(dir);
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW* findData) {
  if (fileName == nullptr || findData == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::u16string_view pattern(fileName);
  size_t split = pattern.size();
  while (split > 0 && !IsSeparator(pattern[split - 1])) --split;
  const std::u16string_view mask = pattern.substr(split);
  const std::u16string directory =
      split == 0 ? std::u16string(1, u'\\') : std::u16string(pattern.data(), split);
  if (mask.empty() || mask.find_first_of(u"\\/:<>|\"") != std::u16string_view::npos) {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }
  const std::optional<DeviceLocation> location =
      MapForFileCall(directory.c_str(), NetworkFolderUse::kAllowed);
  if (!location) {
    // A name of \Network that is not connected is a missing folder here.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_unique<SearchRecord>();
  if (location->IsNetworkFolder()) {
    CollectNetworkFolder(mask, search.get());
  } else {
    const int fd = OpenAtLocation(*location, O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
      SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                       : Win32ErrorFromErrno(errno));
      return INVALID_HANDLE_VALUE;
    }
    Collect(fd, location->IsRootTop(), mask, search.get());
  }
  if (search->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::sort(search->entries.begin(), search->entries.end(), NameOrder);
  *findData = search->entries[0];
  search->next = 1;
  std::lock_guard<std::mutex> lock(gSearchMutex);
  LiveSearches().insert(search.get());
  return search.release();
}

BOOL FindNextFileW(HANDLE find, WIN32_FIND_DATAW* findData) {
  auto* search = static_cast<SearchRecord*>(find);
  std::lock_guard<std::mutex> lock(gSearchMutex);
  if (LiveSearches().count(search) == 0 || findData == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (search->next >= search->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *findData = search->entries[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  auto* search = static_cast<SearchRecord*>(find);
  {
    std::lock_guard<std::mutex> lock(gSearchMutex);
    if (LiveSearches().erase(search) == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
  }
  delete search;
  return TRUE;
}

}  // namespace ce

// Handle-based file calls: CreateFileW and the calls on its handles.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <unordered_set>

#include "platform/file_api.h"
#include "platform/file_host.h"
#include "platform/last_error.h"

namespace ce {
namespace {

struct FileRecord {
  int fd = -1;
  DWORD access = 0;
  bool marked = false;  // the archive attribute has been set since the last open
  bool timesWritable = false;
};

std::mutex gHandlesMutex;
// The open handles. The set is destroyed with the module; a handle closed after that (by a
// finaliser that runs later) is closed without the check.
bool gRegistryAlive = false;
struct Registry {
  Registry() { gRegistryAlive = true; }
  ~Registry() { gRegistryAlive = false; }
  std::unordered_set<FileRecord*> handles;
};
std::unordered_set<FileRecord*>* LiveHandlesOrNull() {
  static Registry registry;
  return gRegistryAlive ? &registry.handles : nullptr;
}

FileRecord* RecordOf(HANDLE handle) {
  auto* record = static_cast<FileRecord*>(handle);
  std::lock_guard<std::mutex> lock(gHandlesMutex);
  std::unordered_set<FileRecord*>* live = LiveHandlesOrNull();
  if (live != nullptr && live->count(record) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return record;
}

int OpenFlags(DWORD access) {
  const bool read = (access & GENERIC_READ) != 0;
  const bool write = (access & GENERIC_WRITE) != 0;
  if (read && write) return O_RDWR;
  return write ? O_WRONLY : O_RDONLY;
}

// The archive attribute of a file written through a handle.
void MarkWritten(FileRecord* record) {
  if (record->marked) return;
  record->marked = true;
  const DWORD stored = StoredAttributes(record->fd).value_or(FILE_ATTRIBUTE_ARCHIVE);
  if ((stored & FILE_ATTRIBUTE_ARCHIVE) == 0) StoreAttributes(record->fd, stored | FILE_ATTRIBUTE_ARCHIVE);
}

HANDLE Fail(DWORD code) {
  SetLastError(code);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/, void* /*security*/,
                   DWORD creation, DWORD flagsAndAttributes, HANDLE /*templateFile*/) {
  const std::optional<DeviceLocation> location = MapForFileCall(fileName);
  if (!location) return INVALID_HANDLE_VALUE;
  if (creation < CREATE_NEW || creation > TRUNCATE_EXISTING) return Fail(ERROR_INVALID_PARAMETER);
  const bool write = (desiredAccess & GENERIC_WRITE) != 0;
  if (creation == TRUNCATE_EXISTING && !write) return Fail(ERROR_INVALID_PARAMETER);

  // What is there now decides the folder rule, the read-only rule and error 183.
  const int probe = OpenAtLocation(*location, O_PATH);
  const bool existed = probe >= 0;
  bool directory = false;
  if (existed) {
    struct stat info {};
    directory = fstat(probe, &info) == 0 && S_ISDIR(info.st_mode);
    const bool writable = (info.st_mode & S_IWUSR) != 0;
    close(probe);
    if (creation == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
    if (directory && ((flagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) == 0 ||
                      creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING)) {
      return Fail(ERROR_ACCESS_DENIED);
    }
    if (!writable && (write || creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING)) {
      return Fail(ERROR_ACCESS_DENIED);
    }
  } else if (errno != ENOENT) {
    return Fail(Win32ErrorFromErrno(errno));
  } else if (creation == OPEN_EXISTING || creation == TRUNCATE_EXISTING) {
    return Fail(MissingPathError(*location));
  }

  int flags = OpenFlags(desiredAccess);
  if (directory) flags = O_RDONLY | O_DIRECTORY;  // times and attributes only
  if (!existed) flags |= O_CREAT | O_EXCL;
  if (existed && (creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING)) {
    if (flags == O_RDONLY) flags = O_RDWR;
    flags |= O_TRUNC;
  }
  const mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0644;
  const int fd = OpenAtLocation(*location, flags, mode);
  if (fd < 0) {
    if (errno == EEXIST) return Fail(ERROR_SHARING_VIOLATION);  // created by someone else meanwhile
    FailFromErrno(*location);
    return INVALID_HANDLE_VALUE;
  }
  auto* record = new FileRecord{fd, directory ? desiredAccess & ~GENERIC_WRITE : desiredAccess,
                                false};
  record->timesWritable = (desiredAccess & GENERIC_WRITE) != 0;
  if (!existed || creation == CREATE_ALWAYS) {
    DWORD attributes = flagsAndAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    StoreAttributes(fd, attributes | FILE_ATTRIBUTE_ARCHIVE);
    record->marked = true;
  }
  {
    std::lock_guard<std::mutex> lock(gHandlesMutex);
    if (std::unordered_set<FileRecord*>* live = LiveHandlesOrNull()) live->insert(record);
  }
  if (existed && (creation == OPEN_ALWAYS || creation == CREATE_ALWAYS)) {
    SetLastError(ERROR_ALREADY_EXISTS);
  } else {
    SetLastError(ERROR_SUCCESS);
  }
  return record;
}

bool IsFileHandle(HANDLE handle) {
  std::lock_guard<std::mutex> lock(gHandlesMutex);
  std::unordered_set<FileRecord*>* live = LiveHandlesOrNull();
  return live != nullptr && live->count(static_cast<FileRecord*>(handle)) != 0;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void*) {
  if (bytesRead != nullptr) *bytesRead = 0;
  FileRecord* record = RecordOf(file);
  if (record == nullptr) return FALSE;
  if ((record->access & GENERIC_READ) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD total = 0;
  auto* out = static_cast<char*>(buffer);
  while (total < bytesToRead) {
    const ssize_t n = read(record->fd, out + total, bytesToRead - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (bytesRead != nullptr) *bytesRead = total;
      SetLastErrorFromErrno();
      return FALSE;
    }
    if (n == 0) break;
    total += static_cast<DWORD>(n);
  }
  if (bytesRead != nullptr) *bytesRead = total;
  return TRUE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void*) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  FileRecord* record = RecordOf(file);
  if (record == nullptr) return FALSE;
  if ((record->access & GENERIC_WRITE) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD total = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (total < bytesToWrite) {
    const ssize_t n = write(record->fd, in + total, bytesToWrite - total);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (bytesWritten != nullptr) *bytesWritten = total;
      SetLastErrorFromErrno(n == 0 ? ENOSPC : errno);
      return FALSE;
    }
    total += static_cast<DWORD>(n);
  }
  if (total > 0) MarkWritten(record);
  if (bytesWritten != nullptr) *bytesWritten = total;
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
  FileRecord* record = RecordOf(file);
  if (record == nullptr) return INVALID_SET_FILE_POINTER;
  const int64_t offset = distanceHigh != nullptr
                             ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*distanceHigh)) << 32) |
                                                    static_cast<uint32_t>(distance))
                             : static_cast<int64_t>(distance);
  static constexpr int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (moveMethod > FILE_END) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  const off_t position = lseek(record->fd, offset, kWhence[moveMethod]);
  if (position < 0) {
    SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : Win32ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh != nullptr) *distanceHigh = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
  SetLastError(ERROR_SUCCESS);  // tells a position whose low word is 0xFFFFFFFF from a failure
  return static_cast<DWORD>(position);
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh) {
  FileRecord* record = RecordOf(file);
  if (record == nullptr) return INVALID_FILE_SIZE;
  struct stat info {};
  if (fstat(record->fd, &info) != 0) {
    SetLastErrorFromErrno();
    return INVALID_FILE_SIZE;
  }
  if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(static_cast<uint64_t>(info.st_size) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(info.st_size);
}

BOOL SetEndOfFile(HANDLE file) {
  FileRecord* record = RecordOf(file);
  if (record == nullptr) return FALSE;
  const off_t position = lseek(record->fd, 0, SEEK_CUR);
  if (position < 0 || ftruncate(record->fd, position) != 0) {
    SetLastErrorFromErrno();
    return FALSE;
  }
  MarkWritten(record);
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
  FileRecord* record = RecordOf(file);
  if (record == nullptr) return FALSE;
  if (fdatasync(record->fd) != 0 && errno != EINVAL) {
    SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}

BOOL CloseFileHandle(HANDLE file) {
  FileRecord* record = static_cast<FileRecord*>(file);
  {
    std::lock_guard<std::mutex> lock(gHandlesMutex);
    std::unordered_set<FileRecord*>* live = LiveHandlesOrNull();
    if (live != nullptr && live->erase(record) == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
  }
  const int result = close(record->fd);
  delete record;
  if (result != 0) {
    SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}

BOOL GetFileTime(HANDLE file, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite) {
  FileRecord* record = RecordOf(file);
  if (record == nullptr) return FALSE;
  const std::optional<FileFacts> facts = FactsOf(record->fd);
  if (!facts) return FALSE;
  if (creation != nullptr) *creation = facts->creation;
  if (lastAccess != nullptr) *lastAccess = facts->lastAccess;
  if (lastWrite != nullptr) *lastWrite = facts->lastWrite;
  return TRUE;
}

BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                 const FILETIME* lastWrite) {
  FileRecord* record = RecordOf(file);
  if (record == nullptr) return FALSE;
  if (!record->timesWritable) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_nsec = UTIME_OMIT;
  if (lastAccess != nullptr) times[0] = TimespecFromFileTime(*lastAccess);
  if (lastWrite != nullptr) times[1] = TimespecFromFileTime(*lastWrite);
  if (futimens(record->fd, times) != 0) {
    SetLastErrorFromErrno();
    return FALSE;
  }
  if (creation != nullptr && !StoreCreationTime(record->fd, *creation)) {
    SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}

}  // namespace ce

// Named kernel objects (file mappings, mutexes, semaphores) shared between the processes of
// one device root, over POSIX shared memory.
//
// Where they live: each object is one shared-memory object "/tq240-HASH-NAME" (on Linux the
// file /dev/shm/tq240-HASH-NAME), where HASH is eight hex digits of a hash of the device
// root's host path, so the objects of two device roots never meet, and NAME is the object's
// name in UTF-8 with every byte other than a letter, digit, '.', '_' or '-' written %XX (a
// name too long for the host ends in '~' and a hash of the whole name). Names are compared
// with regard to case, as on the device; one name designates one object, whatever its kind.
//
// Layout: a first page of header (kind, readiness, count of holders, and the kind's state: a
// robust process-shared mutex, a semaphore's count and maximum), then a mapping's bytes.
//
// Lifetime: every handle and view holds a reference; the last one to go removes the object,
// as the device forgets an object when its last handle closes. A process that dies holding
// references leaves the object behind; the device's first process to start
// (RemoveDeviceObjects) removes every object of the root that no live process can hold.
//
// Invariants: the creator prepares the header before marking it ready, and joiners wait for
// that mark; a joiner takes a reference only while the count is above zero, so an object
// being removed is never joined (the joiner starts over and creates a new one).
#pragma once

#include <pthread.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace ce {

enum class NamedKind : uint32_t { kMapping = 1, kMutex = 2, kSemaphore = 3 };

struct NamedHeader {
  std::atomic<uint32_t> ready;
  uint32_t kind;
  std::atomic<int32_t> references;
  uint32_t reserved;
  uint64_t dataSize;           // mappings: the bytes after the header
  pthread_mutex_t mutex;       // mutexes: robust, recursive, process-shared
  std::atomic<int32_t> count;  // semaphores: the current count (the futex word)
  int32_t maximum;
};
inline constexpr size_t kNamedHeaderSize = 4096;
static_assert(sizeof(NamedHeader) <= kNamedHeaderSize);

class NamedObject {
 public:
  // Opens the object called `name` (empty: a new private object), creating it when `create`
  // is set and it does not exist: its shared memory gets `dataSize` bytes after the header
  // and `prepare` fills the header. `existed` tells whether it existed. Null with the last
  // error on failure: ERROR_FILE_NOT_FOUND (absent, not creating), ERROR_INVALID_HANDLE (the
  // name belongs to an object of another kind), ERROR_FILENAME_EXCED_RANGE, or the host's.
  static std::shared_ptr<NamedObject> Open(std::u16string_view name, NamedKind kind, bool create,
                                           uint64_t dataSize,
                                           const std::function<void(NamedHeader&)>& prepare,
                                           bool* existed);
  ~NamedObject();
  NamedObject(const NamedObject&) = delete;
  NamedObject& operator=(const NamedObject&) = delete;

  NamedHeader& header() const { return *header_; }
  int descriptor() const { return fd_; }

 private:
  NamedObject(std::string hostName, int fd, NamedHeader* header)
      : hostName_(std::move(hostName)), fd_(fd), header_(header) {}
  std::string hostName_;
  int fd_;
  NamedHeader* header_;
};

// The shared-memory name of a device object name ("/tq240-HASH-NAME"); empty when the name
// cannot be written (it holds a NUL).
std::string NamedObjectHostName(std::u16string_view name);
// Removes every named object of this device root.
void RemoveDeviceObjects();

}  // namespace ce

// File mappings over named shared memory, and the table of this process's views.
#include "platform/file_mapping.h"

#include <sys/mman.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "platform/last_error.h"
#include "platform/named_object.h"

namespace ce {
namespace {

class MappingObject final : public KernelObject {
 public:
  explicit MappingObject(std::shared_ptr<NamedObject> shared) : shared_(std::move(shared)) {}
  DWORD TryTake() override { return WAIT_TIMEOUT; }  // never signalled
  const std::shared_ptr<NamedObject>& shared() const { return shared_; }

 private:
  std::shared_ptr<NamedObject> shared_;
};

struct View {
  size_t bytes;      // the mapping's size
  size_t mapped;     // whole pages
  DWORD protection;  // PAGE_READONLY or PAGE_READWRITE
  std::shared_ptr<NamedObject> shared;
};

struct Views {
  std::mutex lock;
  std::map<const char*, View> byAddress;
};

Views& TheViews() {
  static Views* views = new Views;
  return *views;
}

size_t PageSize() {
  static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

size_t WholePages(size_t bytes) {
  return (bytes + PageSize() - 1) / PageSize() * PageSize();
}

HANDLE MappingHandle(std::shared_ptr<NamedObject> shared, bool existed) {
  if (shared == nullptr) return nullptr;
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return NewKernelHandle(std::make_shared<MappingObject>(std::move(shared)));
}

}  // namespace

HANDLE CreateFileMappingW(HANDLE file, void*, DWORD protection, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCWSTR name) {
  const uint64_t size = (static_cast<uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
  if (file != kMemoryOnlyFile || (protection != PAGE_READONLY &&
                                       protection != PAGE_READWRITE)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::u16string_view text = name != nullptr ? name : u"";
  bool existed = false;
  std::shared_ptr<NamedObject> shared;
  if (size == 0) {  // only an existing mapping can be opened without a size
    shared = NamedObject::Open(text, NamedKind::kMapping, false, 0, nullptr, &existed);
    if (shared == nullptr) SetLastError(ERROR_INVALID_PARAMETER);
  } else {
    shared = NamedObject::Open(text, NamedKind::kMapping, true, size, [](NamedHeader&) {},
                               &existed);
  }
  return MappingHandle(std::move(shared), existed);
}

HANDLE OpenFileMappingW(DWORD, BOOL, LPCWSTR name) {
  if (name == nullptr || *name == u'\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return MappingHandle(NamedObject::Open(name, NamedKind::kMapping, false, 0, nullptr, nullptr),
                       false);
}

void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow,
                    size_t bytes) {
  const std::shared_ptr<MappingObject> object = KernelObjectAs<MappingObject>(mapping);
  if (object == nullptr) return nullptr;
  const uint64_t size = object->shared()->header().dataSize;
  if (offsetHigh != 0 || offsetLow != 0 || bytes > size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const bool writable = (desiredAccess & FILE_MAP_WRITE) != 0;
  const size_t mapped = WholePages(kNamedHeaderSize + size);
  void* base = mmap(nullptr, mapped, writable ? PROT_READ | PROT_WRITE : PROT_READ, MAP_SHARED,
                    object->shared()->descriptor(), 0);
  if (base == MAP_FAILED) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  char* view = static_cast<char*>(base) + kNamedHeaderSize;
  Views& views = TheViews();
  std::lock_guard<std::mutex> guard(views.lock);
  views.byAddress[view] = View{static_cast<size_t>(size), mapped,
                               writable ? PAGE_READWRITE : PAGE_READONLY, object->shared()};
  return view;
}

BOOL UnmapViewOfFile(const void* address) {
  View view;
  {
    Views& views = TheViews();
    std::lock_guard<std::mutex> guard(views.lock);
    const auto found = views.byAddress.find(static_cast<const char*>(address));
    if (found == views.byAddress.end()) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return FALSE;
    }
    view = std::move(found->second);
    views.byAddress.erase(found);
  }
  munmap(const_cast<char*>(static_cast<const char*>(address)) - kNamedHeaderSize, view.mapped);
  return TRUE;
}

size_t VirtualQuery(const void* address, MEMORY_BASIC_INFORMATION* information, size_t length) {
  if (information == nullptr || length < sizeof(MEMORY_BASIC_INFORMATION)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const char* at = static_cast<const char*>(address);
  Views& views = TheViews();
  std::lock_guard<std::mutex> guard(views.lock);
  auto found = views.byAddress.upper_bound(at);
  if (found == views.byAddress.begin()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  --found;
  const size_t region = WholePages(found->second.bytes);
  if (at >= found->first + region) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  *information = MEMORY_BASIC_INFORMATION{const_cast<char*>(found->first),
                                          const_cast<char*>(found->first),
                                          found->second.protection,
                                          region,
                                          MEM_COMMIT,
                                          found->second.protection,
                                          MEM_MAPPED};
  return sizeof(MEMORY_BASIC_INFORMATION);
}

}  // namespace ce

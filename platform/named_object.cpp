// Named objects over POSIX shared memory: naming, creation, joining and removal.
#include "platform/named_object.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/device_path.h"
#include "platform/last_error.h"
#include "platform/utf8.h"

namespace ce {
namespace {

constexpr size_t kMaxEncodedName = 200;  // within NAME_MAX with the prefix
constexpr int kReadyWaitRounds = 2000;   // x 0.5 ms: a creator that never finishes

uint64_t Fnv1a(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

std::string Hex(uint64_t value, int digits) {
  char text[17];
  std::snprintf(text, sizeof text, "%0*llx", digits, static_cast<unsigned long long>(value));
  return text;
}

std::string DevicePrefix() {
  return "tq240-" + Hex(Fnv1a(DeviceRoot()) & 0xffffffffu, 8) + "-";
}

bool KeptAsIs(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '.' || c == '_' || c == '-';
}

void PauseBriefly() {
  const timespec pause{0, 500 * 1000};
  nanosleep(&pause, nullptr);
}

std::string PrivateName() {
  static std::atomic<uint64_t> counter{0};
  return "/" + DevicePrefix() + "~private-" + std::to_string(getpid()) + "-" +
         std::to_string(counter.fetch_add(1));
}

NamedHeader* MapHeader(int fd) {
  void* address = mmap(nullptr, kNamedHeaderSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return address == MAP_FAILED ? nullptr : static_cast<NamedHeader*>(address);
}

bool TakeReference(NamedHeader& header) {
  int32_t held = header.references.load();
  while (held > 0) {
    if (header.references.compare_exchange_weak(held, held + 1)) return true;
  }
  return false;
}

}  // namespace

std::string NamedObjectHostName(std::u16string_view name) {
  if (name.find(u'\0') != std::u16string_view::npos) return {};
  const std::string utf8 = Utf16ToUtf8(name);
  std::string encoded;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (KeptAsIs(byte)) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += Hex(byte, 2);
    }
  }
  if (encoded.size() > kMaxEncodedName) {
    encoded = encoded.substr(0, kMaxEncodedName - 17) + "~" + Hex(Fnv1a(utf8), 16);
  }
  return "/" + DevicePrefix() + encoded;
}

std::shared_ptr<NamedObject> NamedObject::Open(std::u16string_view name, NamedKind kind,
                                               bool create, uint64_t dataSize,
                                               const std::function<void(NamedHeader&)>& prepare,
                                               bool* existed) {
  const bool isPrivate = name.empty();
  const std::string hostName = isPrivate ? PrivateName() : NamedObjectHostName(name);
  if (hostName.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  if (existed != nullptr) *existed = false;
  for (;;) {
    int fd = create ? shm_open(hostName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600) : -1;
    if (fd >= 0) {
      NamedHeader* header = nullptr;
      if (ftruncate(fd, static_cast<off_t>(kNamedHeaderSize + dataSize)) != 0 ||
          (header = MapHeader(fd)) == nullptr) {
        SetLastErrorFromErrno();
        close(fd);
        shm_unlink(hostName.c_str());
        return nullptr;
      }
      header->kind = static_cast<uint32_t>(kind);
      header->dataSize = dataSize;
      header->references.store(1);
      prepare(*header);
      header->ready.store(1, std::memory_order_release);
      if (isPrivate) shm_unlink(hostName.c_str());
      return std::shared_ptr<NamedObject>(new NamedObject(isPrivate ? "" : hostName, fd, header));
    }
    if (create && errno != EEXIST) {
      SetLastError(errno == ENAMETOOLONG ? ERROR_FILENAME_EXCED_RANGE : Win32ErrorFromErrno(errno));
      return nullptr;
    }
    fd = shm_open(hostName.c_str(), O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == ENOENT && create) continue;  // removed meanwhile: create it anew
      SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : Win32ErrorFromErrno(errno));
      return nullptr;
    }
    // Joining: wait until the creator has sized and prepared the object.
    NamedHeader* header = nullptr;
    for (int round = 0; round < kReadyWaitRounds; ++round) {
      struct stat info{};
      if (fstat(fd, &info) == 0 && static_cast<size_t>(info.st_size) >= kNamedHeaderSize) {
        if (header == nullptr) header = MapHeader(fd);
        if (header != nullptr && header->ready.load(std::memory_order_acquire) == 1) break;
      }
      PauseBriefly();
    }
    if (header == nullptr || header->ready.load(std::memory_order_acquire) != 1) {
      // Its creator died half way: nobody can use it, so it goes.
      if (header != nullptr) munmap(header, kNamedHeaderSize);
      close(fd);
      shm_unlink(hostName.c_str());
      continue;
    }
    if (header->kind != static_cast<uint32_t>(kind)) {
      munmap(header, kNamedHeaderSize);
      close(fd);
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    if (!TakeReference(*header)) {  // being removed by its last holder
      munmap(header, kNamedHeaderSize);
      close(fd);
      PauseBriefly();
      continue;
    }
    if (existed != nullptr) *existed = true;
    return std::shared_ptr<NamedObject>(new NamedObject(hostName, fd, header));
  }
}

NamedObject::~NamedObject() {
  const bool last = header_->references.fetch_sub(1) == 1;
  munmap(header_, kNamedHeaderSize);
  close(fd_);
  if (last && !hostName_.empty()) shm_unlink(hostName_.c_str());
}

void RemoveDeviceObjects() {
  const std::string prefix = DevicePrefix();
  DIR* directory = opendir("/dev/shm");
  if (directory == nullptr) return;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) == 0) shm_unlink(("/" + name).c_str());
  }
  closedir(directory);
}

}  // namespace ce

// Creating, joining, writing and closing a shared zone.
#include "system/shared_zone.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/file_mapping.h"
#include "platform/last_error.h"
#include "platform/process_table.h"
#include "platform/sync_objects.h"
#include "system/zone_notifier.h"

namespace tq {
namespace {

constexpr ce::DWORD kLivenessCheckMilliseconds = 100;

uint32_t SelfPid() {
  return static_cast<uint32_t>(getpid());
}

bool ProcessAlive(uint32_t pid) {
  const auto state = ce::ReadProcessState(static_cast<pid_t>(pid));
  return state && !state->ended;
}

void CloseIfOpen(ce::HANDLE& handle) {
  if (handle != nullptr) ce::CloseHandle(handle);
  handle = nullptr;
}

}  // namespace

std::unique_ptr<SharedZone> SharedZone::Open(std::u16string_view name, uint32_t size,
                                             int32_t scope, bool writable, ce::DWORD* failure) {
  std::unique_ptr<SharedZone> zone(new SharedZone);
  zone->name_ = name;
  zone->objectName_ = ZoneObjectName(name, scope);
  zone->writable_ = writable;
  const auto fail = [&]() -> std::unique_ptr<SharedZone> {
    *failure = ce::GetLastError();
    if (*failure == 0) *failure = ce::ERROR_GEN_FAILURE;
    return nullptr;
  };
  zone->mutex_ = ce::CreateMutexW(nullptr, ce::TRUE,
                                  ZoneCompanionName(zone->objectName_, u"_MTX").c_str());
  if (zone->mutex_ == nullptr) return fail();
  if (ce::GetLastError() == ce::ERROR_ALREADY_EXISTS) ce::WaitForSingleObject(zone->mutex_, ce::INFINITE);
  // From here the mutex is held; the destructor of a failed zone releases it.
  const std::u16string adminName = ZoneCompanionName(zone->objectName_, u"_ADM");
  zone->mapping_ = ce::OpenFileMappingW(ce::FILE_MAP_ALL_ACCESS, ce::FALSE, zone->objectName_.c_str());
  bool created = false;
  if (zone->mapping_ == nullptr) {
    zone->mapping_ = ce::CreateFileMappingW(ce::kMemoryOnlyFile, nullptr,
                                            writable ? ce::PAGE_READWRITE : ce::PAGE_READONLY, 0,
                                            size, zone->objectName_.c_str());
    if (zone->mapping_ == nullptr) return zone->Unlock(), fail();
    created = true;
  }
  zone->adminMapping_ = ce::CreateFileMappingW(ce::kMemoryOnlyFile, nullptr, ce::PAGE_READWRITE, 0,
                                               kZoneAdminSize, adminName.c_str());
  const bool adminExisted = ce::GetLastError() == ce::ERROR_ALREADY_EXISTS;
  if (zone->adminMapping_ == nullptr) return zone->Unlock(), fail();
  zone->view_ = static_cast<uint8_t*>(ce::MapViewOfFile(
      zone->mapping_, writable ? ce::FILE_MAP_ALL_ACCESS : ce::FILE_MAP_READ, 0, 0, 0));
  zone->adminView_ = static_cast<uint8_t*>(
      ce::MapViewOfFile(zone->adminMapping_, ce::FILE_MAP_ALL_ACCESS, 0, 0, 0));
  if (zone->view_ == nullptr || zone->adminView_ == nullptr) return zone->Unlock(), fail();
  if (created || !adminExisted) AdminInitialise(zone->Admin());
  ce::MEMORY_BASIC_INFORMATION region{};
  if (ce::VirtualQuery(zone->view_, &region, sizeof region) == 0) return zone->Unlock(), fail();
  zone->size_ = region.RegionSize;
  zone->Unlock();
  return zone;
}

SharedZone::~SharedZone() {
  if (listener_ != nullptr) RemoveZoneListener(listener_);
  if (mutex_ != nullptr && adminView_ != nullptr && registered_) {
    Lock();
    if (AdminInUse()) AdminRemove(Admin(), SelfPid());
    Unlock();
  }
  for (auto& [peer, handle] : peers_) ce::CloseHandle(handle);
  if (view_ != nullptr) ce::UnmapViewOfFile(view_);
  if (adminView_ != nullptr) ce::UnmapViewOfFile(adminView_);
  CloseIfOpen(ownNotify_);
  CloseIfOpen(ownAcknowledge_);
  CloseIfOpen(adminMapping_);
  CloseIfOpen(mapping_);
  CloseIfOpen(mutex_);
}

void SharedZone::Lock() {
  ce::WaitForSingleObject(mutex_, ce::INFINITE);  // an abandoned mutex is ours as well
}

void SharedZone::Unlock() {
  ce::ReleaseMutex(mutex_);
}

bool SharedZone::RegisterForNotifications() {
  const uint32_t self = SelfPid();
  ownNotify_ = ce::CreateSemaphoreW(nullptr, 0, 1, ZoneSemaphoreName(objectName_, u'N', self).c_str());
  ownAcknowledge_ =
      ce::CreateSemaphoreW(nullptr, 1, 1, ZoneSemaphoreName(objectName_, u'F', self).c_str());
  if (ownNotify_ == nullptr || ownAcknowledge_ == nullptr) return false;
  Lock();
  if (AdminInUse()) registered_ = AdminAdd(Admin(), self) || registered_;
  Unlock();
  return true;
}

std::vector<uint32_t> SharedZone::OtherProcesses() {
  std::vector<uint32_t> others;
  Lock();
  if (AdminInUse()) {
    for (const uint32_t pid : AdminProcesses(Admin())) {
      if (!ProcessAlive(pid)) AdminRemove(Admin(), pid);  // died without leaving
    }
    others = AdminProcesses(Admin());
  }
  Unlock();
  std::erase(others, SelfPid());
  return others;
}

ce::HANDLE SharedZone::PeerSemaphore(uint32_t pid, char16_t kind) {
  ce::HANDLE& handle = peers_[{pid, kind}];
  if (handle == nullptr) {
    handle = ce::OpenSemaphoreW(ce::SEMAPHORE_ALL_ACCESS, ce::FALSE,
                                ZoneSemaphoreName(objectName_, kind, pid).c_str());
  }
  return handle;
}

void SharedZone::ForgetPeer(uint32_t pid) {
  for (const char16_t kind : {u'N', u'F'}) {
    const auto found = peers_.find({pid, kind});
    if (found == peers_.end()) continue;
    if (found->second != nullptr) ce::CloseHandle(found->second);
    peers_.erase(found);
  }
}

// Waits for the process's acknowledgement of the previous notification; a process that has
// died meanwhile is removed from the admin area. The caller holds the mutex.
void SharedZone::AwaitAcknowledgement(uint32_t pid) {
  const ce::HANDLE acknowledge = PeerSemaphore(pid, u'F');
  bool dead = acknowledge == nullptr && !ProcessAlive(pid);
  while (acknowledge != nullptr &&
         ce::WaitForSingleObject(acknowledge, kLivenessCheckMilliseconds) == ce::WAIT_TIMEOUT) {
    if (!ProcessAlive(pid)) {
      dead = true;
      break;
    }
  }
  if (acknowledge == nullptr || dead) ForgetPeer(pid);  // opened again when it comes back
  if (dead) AdminRemove(Admin(), pid);
}

size_t SharedZone::Write(std::span<const uint8_t> bytes) {
  if (!writable_) {
    ce::SetLastError(ce::ERROR_ACCESS_DENIED);
    return 0;
  }
  if (bytes.empty() || position_ >= size_) return 0;  // nothing changes: nobody to wake
  Lock();
  std::vector<uint32_t> others;
  if (AdminInUse()) {
    others = AdminProcesses(Admin());
    std::erase(others, SelfPid());
    for (const uint32_t pid : others) AwaitAcknowledgement(pid);
    others = AdminProcesses(Admin());  // without the dead
    std::erase(others, SelfPid());
  }
  const size_t count = static_cast<size_t>(std::min<uint64_t>(bytes.size(), size_ - position_));
  if (count > 0) std::memcpy(view_ + position_, bytes.data(), count);
  position_ += count;
  Unlock();
  for (const uint32_t pid : others) {
    if (const ce::HANDLE notify = PeerSemaphore(pid, u'N')) ce::ReleaseSemaphore(notify, 1, nullptr);
  }
  return count;
}

size_t SharedZone::Read(std::span<uint8_t> bytes) {
  const size_t count = static_cast<size_t>(std::min<uint64_t>(bytes.size(), size_ - position_));
  if (count > 0) std::memcpy(bytes.data(), view_ + position_, count);
  position_ += count;
  return count;
}

}  // namespace tq

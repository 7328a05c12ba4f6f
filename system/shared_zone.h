// One opened shared zone: its mapping and view, its admin area, its mutex, and, when it has
// a notification procedure, this process's two semaphores. The HandleTable reaches it through
// its stream (SharedZoneStream, kind 1); the index is what SharedZoneOpen returns.
//
// Invariants: the admin area is read and changed only while holding the zone mutex (an
// abandoned mutex is taken over: the dead owner's changes are complete or were never begun,
// since each change is a few stores). Writing waits for every other registered process's
// acknowledgement, but a process that has died is dropped from the admin area instead of
// being waited for, so a crash never blocks the writers. Closing the zone removes this
// process from the admin area and closes every handle.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/windows_types.h"
#include "system/zone_layout.h"

namespace tq {

struct ZoneListener;

class SharedZone final {
 public:
  // Creates or joins the zone (mapping writable when `writable`), under the zone mutex. Null
  // with the platform's error code in `failure` when an object cannot be created, opened or
  // mapped.
  static std::unique_ptr<SharedZone> Open(std::u16string_view name, uint32_t size, int32_t scope,
                                          bool writable, ce::DWORD* failure);
  ~SharedZone();
  SharedZone(const SharedZone&) = delete;
  SharedZone& operator=(const SharedZone&) = delete;

  // Creates this process's semaphores and registers it in the admin area (unless 20 are).
  bool RegisterForNotifications();
  void SetListener(std::shared_ptr<ZoneListener> listener) { listener_ = std::move(listener); }

  // Copies bytes at the position (cut at the end of the zone) and notifies the others; the
  // count copied. Nothing is written (nor notified) into a read-only zone (last error
  // ERROR_ACCESS_DENIED) or at its end.
  size_t Write(std::span<const uint8_t> bytes);
  size_t Read(std::span<uint8_t> bytes);
  uint64_t position() const { return position_; }
  void set_position(uint64_t position) { position_ = std::min<uint64_t>(position, size_); }
  uint64_t size() const { return size_; }
  uint8_t* data() const { return view_; }
  bool writable() const { return writable_; }

  // The other live processes registered in the admin area (read under the mutex; the dead
  // are removed on the way).
  std::vector<uint32_t> OtherProcesses();
  const std::u16string& name() const { return name_; }
  const std::u16string& objectName() const { return objectName_; }

 private:
  SharedZone() = default;
  void Lock();
  void Unlock();
  std::span<uint8_t, kZoneAdminSize> Admin() const {
    return std::span<uint8_t, kZoneAdminSize>(adminView_, kZoneAdminSize);
  }
  bool AdminInUse() const { return adminView_ != nullptr && AdminUsable(Admin()); }
  void AwaitAcknowledgement(uint32_t pid);
  // The other process's semaphore ('N' or 'F'), opened once and kept (null when absent).
  ce::HANDLE PeerSemaphore(uint32_t pid, char16_t kind);
  void ForgetPeer(uint32_t pid);

  std::u16string name_;
  std::u16string objectName_;
  ce::HANDLE mapping_ = nullptr;
  ce::HANDLE adminMapping_ = nullptr;
  ce::HANDLE mutex_ = nullptr;
  ce::HANDLE ownNotify_ = nullptr;
  ce::HANDLE ownAcknowledge_ = nullptr;
  uint8_t* view_ = nullptr;
  uint8_t* adminView_ = nullptr;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
  bool registered_ = false;
  bool writable_ = false;
  std::shared_ptr<ZoneListener> listener_;
  std::map<std::pair<uint32_t, char16_t>, ce::HANDLE> peers_;
};

}  // namespace tq

// The notification list and its thread.
#include "system/zone_notifier.h"

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "frame/vm_string.h"
#include "platform/kernel_object.h"
#include "platform/sync_objects.h"
#include "system/zone_layout.h"

namespace tq {
namespace {

constexpr ce::DWORD kWaitMilliseconds = 1000;

struct Entry {
  std::shared_ptr<ZoneListener> listener;
  int uses = 0;
};

struct Notifier {
  std::mutex lock;
  std::map<std::u16string, Entry> byObject;  // guarded by lock
  std::thread thread;
  bool running = false;    // guarded by lock
  ce::HANDLE wake = nullptr;  // private semaphore that interrupts the wait
};

// Created at the first registration and deleted by the finaliser at unload (a static object
// would be destroyed before the finaliser runs); null while no zone was ever watched.
std::atomic<Notifier*> gNotifier{nullptr};

std::mutex gNotifierCreation;

Notifier& TheNotifier() {
  if (Notifier* existing = gNotifier.load()) return *existing;
  std::lock_guard<std::mutex> creating(gNotifierCreation);
  Notifier* notifier = gNotifier.load();
  if (notifier == nullptr) {
    notifier = new Notifier;
    gNotifier.store(notifier);
  }
  return *notifier;
}

// Calls the procedure with the zone's name as a text value (type 16: the payload word is a
// VMString the caller owns, so the value is emptied before the string is released).
void CallWithName(const ZoneListener& listener) {
  LocalString text;
  text.assign(listener.zoneName);
  DynamicValue name;
  SetType(name, typecode::kString);
  std::memcpy(name.payload, &text.get().chars, sizeof text.get().chars);
  CallProcedure(listener.procedure.get(), {&name});
  std::memset(name.payload, 0, sizeof text.get().chars);
  SetType(name, 0);
}

void Deliver(const ZoneListener& listener) {
  CallWithName(listener);
  const uint32_t self = static_cast<uint32_t>(getpid());
  const ce::HANDLE acknowledge = ce::OpenSemaphoreW(
      ce::SEMAPHORE_ALL_ACCESS, ce::FALSE, ZoneSemaphoreName(listener.objectName, u'F', self).c_str());
  if (acknowledge != nullptr) {
    ce::ReleaseSemaphore(acknowledge, 1, nullptr);
    ce::CloseHandle(acknowledge);
  }
}

void Listen() {
  Notifier& n = TheNotifier();
  for (;;) {
    std::vector<std::shared_ptr<ZoneListener>> listeners;
    std::vector<ce::HANDLE> handles;
    {
      std::lock_guard<std::mutex> guard(n.lock);
      if (!n.running) return;
      for (const auto& [name, entry] : n.byObject) {
        if (entry.listener->notify == nullptr) continue;
        listeners.push_back(entry.listener);
        handles.push_back(entry.listener->notify);
      }
    }
    if (handles.empty()) {
      ce::WaitForSingleObject(n.wake, kWaitMilliseconds);
      continue;
    }
    const ce::DWORD signalled = ce::WaitForMultipleObjects(
        static_cast<ce::DWORD>(handles.size()), handles.data(), ce::FALSE, kWaitMilliseconds);
    {
      std::lock_guard<std::mutex> guard(n.lock);
      if (!n.running) return;  // woken to stop
    }
    if (signalled < handles.size()) Deliver(*listeners[signalled]);
  }
}

void StopThread(Notifier& n, std::unique_lock<std::mutex>& guard) {
  if (!n.running) return;
  n.running = false;
  ce::ReleaseSemaphore(n.wake, 1, nullptr);
  for (const auto& [name, entry] : n.byObject) {
    if (entry.listener->notify != nullptr) ce::ReleaseSemaphore(entry.listener->notify, 1, nullptr);
  }
  std::thread thread = std::move(n.thread);
  guard.unlock();
  if (thread.joinable()) thread.join();
  guard.lock();
}

}  // namespace

ZoneListener::ZoneListener(std::u16string zone, std::u16string object, VMObject* callee)
    : zoneName(std::move(zone)), objectName(std::move(object)), procedure(callee) {}

ZoneListener::~ZoneListener() {
  if (notify != nullptr) ce::CloseHandle(notify);
}

std::shared_ptr<ZoneListener> AddZoneListener(std::shared_ptr<ZoneListener> listener) {
  Notifier& n = TheNotifier();
  std::lock_guard<std::mutex> guard(n.lock);
  Entry& entry = n.byObject[listener->objectName];
  if (entry.listener == nullptr) {
    // The zone has created this process's semaphores by now.
    listener->notify = ce::OpenSemaphoreW(
        ce::SEMAPHORE_ALL_ACCESS, ce::FALSE,
        ZoneSemaphoreName(listener->objectName, u'N', static_cast<uint32_t>(getpid())).c_str());
    entry.listener = std::move(listener);
  }
  ++entry.uses;
  if (!n.running) {
    if (n.wake == nullptr) n.wake = ce::CreateSemaphoreW(nullptr, 0, 1, nullptr);
    while (ce::WaitForSingleObject(n.wake, 0) == ce::WAIT_OBJECT_0) {
    }
    n.running = true;
    n.thread = std::thread(Listen);
  }
  return entry.listener;
}

void RemoveZoneListener(const std::shared_ptr<ZoneListener>& listener) {
  Notifier& n = TheNotifier();
  std::unique_lock<std::mutex> guard(n.lock);
  const auto found = n.byObject.find(listener->objectName);
  if (found == n.byObject.end() || found->second.listener != listener) return;
  if (--found->second.uses > 0) return;
  if (n.byObject.size() == 1) StopThread(n, guard);  // the thread may hold the last listener
  n.byObject.erase(listener->objectName);
}

void StopZoneNotifications() {
  Notifier* n = gNotifier.exchange(nullptr);
  if (n == nullptr) return;  // no zone was ever watched
  {
    std::unique_lock<std::mutex> guard(n->lock);
    StopThread(*n, guard);
    n->byObject.clear();
  }
  if (n->wake != nullptr) ce::CloseHandle(n->wake);
  delete n;  // the library is unloading: nothing reaches the notifier any more
}

}  // namespace tq

// The handle table of kernel objects and the generic waits.
#include "platform/kernel_object.h"

#include <time.h>

#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace ce {
namespace {

struct HandleRegistry {
  std::mutex lock;
  std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
  uintptr_t next = 0x1000;  // multiples of 4 from here, never reused
};

HandleRegistry& Registry() {
  static HandleRegistry* registry = new HandleRegistry;  // outlives every static destructor
  return *registry;
}

// Sleeps a little longer each round, up to one millisecond, so that short waits stay fast
// and long ones cost nothing.
void Backoff(int round) {
  if (round < 20) {
    std::this_thread::yield();
  } else {
    const long micros = round < 60 ? 50 : round < 100 ? 200 : 1000;
    const timespec pause{0, micros * 1000};
    nanosleep(&pause, nullptr);
  }
}

uint64_t DeadlineAfter(DWORD milliseconds) {
  return milliseconds == INFINITE ? UINT64_MAX : MonotonicMilliseconds() + milliseconds;
}

bool Expired(uint64_t deadline) {
  return deadline != UINT64_MAX && MonotonicMilliseconds() >= deadline;
}

}  // namespace

uint64_t MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

DWORD KernelObject::Wait(DWORD milliseconds) {
  const uint64_t deadline = DeadlineAfter(milliseconds);
  for (int round = 0;; ++round) {
    const DWORD taken = TryTake();
    if (taken != WAIT_TIMEOUT || Expired(deadline)) return taken;
    Backoff(round);
  }
}

HANDLE NewKernelHandle(std::shared_ptr<KernelObject> object) {
  if (object == nullptr) return nullptr;
  HandleRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  const uintptr_t value = r.next;
  r.next += 4;
  r.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> KernelObjectOf(HANDLE handle) {
  HandleRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  const auto found = r.objects.find(reinterpret_cast<uintptr_t>(handle));
  if (found == r.objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return found->second;
}

BOOL CloseHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> closing;  // destroyed outside the lock
  HandleRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  const auto found = r.objects.find(reinterpret_cast<uintptr_t>(handle));
  if (found == r.objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  closing = std::move(found->second);
  r.objects.erase(found);
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  const std::shared_ptr<KernelObject> object = KernelObjectOf(handle);
  if (object == nullptr) return WAIT_FAILED;
  return object->Wait(milliseconds);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                             DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<KernelObject>> objects;
  for (DWORD i = 0; i < count; ++i) {
    objects.push_back(KernelObjectOf(handles[i]));
    if (objects.back() == nullptr) return WAIT_FAILED;
  }
  if (count == 1) return objects[0]->Wait(milliseconds);
  const uint64_t deadline = DeadlineAfter(milliseconds);
  for (int round = 0;; ++round) {
    if (!waitAll) {
      for (DWORD i = 0; i < count; ++i) {
        const DWORD taken = objects[i]->TryTake();
        if (taken != WAIT_TIMEOUT) return taken + i;
      }
    } else {
      DWORD i = 0;
      bool abandoned = false;
      for (; i < count; ++i) {
        const DWORD taken = objects[i]->TryTake();
        if (taken == WAIT_TIMEOUT) break;
        abandoned = abandoned || taken == WAIT_ABANDONED;
      }
      if (i == count) return abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
      while (i-- > 0) objects[i]->GiveBack();
    }
    if (Expired(deadline)) return WAIT_TIMEOUT;
    Backoff(round);
  }
}

}  // namespace ce

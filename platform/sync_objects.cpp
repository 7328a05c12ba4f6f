// Mutexes (robust pthread mutexes) and semaphores (futex counts) in named shared memory.
#include "platform/sync_objects.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/last_error.h"
#include "platform/named_object.h"

namespace ce {
namespace {

std::u16string_view NameOf(LPCWSTR name) {
  return name != nullptr ? std::u16string_view(name) : std::u16string_view();
}

timespec AbsoluteAfter(DWORD milliseconds) {
  timespec when{};
  clock_gettime(CLOCK_MONOTONIC, &when);
  when.tv_sec += milliseconds / 1000;
  when.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000;
  if (when.tv_nsec >= 1000000000) {
    when.tv_sec += 1;
    when.tv_nsec -= 1000000000;
  }
  return when;
}

class MutexObject final : public KernelObject {
 public:
  explicit MutexObject(std::shared_ptr<NamedObject> shared) : shared_(std::move(shared)) {}

  DWORD TryTake() override { return Answer(pthread_mutex_trylock(mutex())); }
  DWORD Wait(DWORD milliseconds) override {
    if (milliseconds == INFINITE) return Answer(pthread_mutex_lock(mutex()));
    const timespec deadline = AbsoluteAfter(milliseconds);
    return Answer(pthread_mutex_clocklock(mutex(), CLOCK_MONOTONIC, &deadline));
  }
  void GiveBack() override { pthread_mutex_unlock(mutex()); }
  bool Release() {
    const int error = pthread_mutex_unlock(mutex());
    if (error != 0) SetLastError(ERROR_NOT_OWNER);
    return error == 0;
  }

 private:
  pthread_mutex_t* mutex() { return &shared_->header().mutex; }
  // The owner died holding it: the mutex is ours now and made usable again.
  DWORD Answer(int result) {
    if (result == 0) return WAIT_OBJECT_0;
    if (result == EOWNERDEAD) {
      pthread_mutex_consistent(mutex());
      return WAIT_ABANDONED;
    }
    if (result == EBUSY || result == ETIMEDOUT) return WAIT_TIMEOUT;
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  std::shared_ptr<NamedObject> shared_;
};

class SemaphoreObject final : public KernelObject {
 public:
  explicit SemaphoreObject(std::shared_ptr<NamedObject> shared) : shared_(std::move(shared)) {}

  DWORD TryTake() override {
    std::atomic<int32_t>& count = shared_->header().count;
    int32_t now = count.load();
    while (now > 0) {
      if (count.compare_exchange_weak(now, now - 1)) return WAIT_OBJECT_0;
    }
    return WAIT_TIMEOUT;
  }
  DWORD Wait(DWORD milliseconds) override {
    const timespec deadline = AbsoluteAfter(milliseconds == INFINITE ? 0 : milliseconds);
    for (;;) {
      if (TryTake() == WAIT_OBJECT_0) return WAIT_OBJECT_0;
      timespec left{};
      if (milliseconds != INFINITE) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        left.tv_sec = deadline.tv_sec - now.tv_sec;
        left.tv_nsec = deadline.tv_nsec - now.tv_nsec;
        if (left.tv_nsec < 0) {
          left.tv_sec -= 1;
          left.tv_nsec += 1000000000;
        }
        if (left.tv_sec < 0) return WAIT_TIMEOUT;
      }
      // Sleeps while the count is still 0 (a release in between makes this return at once).
      syscall(SYS_futex, Word(), FUTEX_WAIT, 0, milliseconds == INFINITE ? nullptr : &left,
              nullptr, 0);
    }
  }
  void GiveBack() override { Release(1, nullptr); }
  bool Release(LONG units, LONG* previous) {
    NamedHeader& header = shared_->header();
    int32_t now = header.count.load();
    do {
      if (units <= 0 || units > header.maximum - now) {
        SetLastError(units <= 0 ? ERROR_INVALID_PARAMETER : ERROR_TOO_MANY_POSTS);
        return false;
      }
    } while (!header.count.compare_exchange_weak(now, now + units));
    if (previous != nullptr) *previous = now;
    syscall(SYS_futex, Word(), FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
    return true;
  }

 private:
  int32_t* Word() { return reinterpret_cast<int32_t*>(&shared_->header().count); }
  std::shared_ptr<NamedObject> shared_;
};

void PrepareMutex(NamedHeader& header) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
  pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&header.mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

}  // namespace

HANDLE CreateMutexW(void*, BOOL initialOwner, LPCWSTR name) {
  bool existed = false;
  std::shared_ptr<NamedObject> shared =
      NamedObject::Open(NameOf(name), NamedKind::kMutex, true, 0, PrepareMutex, &existed);
  if (shared == nullptr) return nullptr;
  auto mutex = std::make_shared<MutexObject>(std::move(shared));
  if (initialOwner && !existed) mutex->Wait(INFINITE);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return NewKernelHandle(std::move(mutex));
}

BOOL ReleaseMutex(HANDLE mutex) {
  const std::shared_ptr<MutexObject> object = KernelObjectAs<MutexObject>(mutex);
  return object != nullptr && object->Release() ? TRUE : FALSE;
}

HANDLE CreateSemaphoreW(void*, LONG initialCount, LONG maximumCount, LPCWSTR name) {
  if (maximumCount <= 0 || initialCount < 0 || initialCount > maximumCount) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  bool existed = false;
  std::shared_ptr<NamedObject> shared = NamedObject::Open(
      NameOf(name), NamedKind::kSemaphore, true, 0,
      [&](NamedHeader& header) {
        header.count.store(initialCount);
        header.maximum = maximumCount;
      },
      &existed);
  if (shared == nullptr) return nullptr;
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return NewKernelHandle(std::make_shared<SemaphoreObject>(std::move(shared)));
}

HANDLE OpenSemaphoreW(DWORD, BOOL, LPCWSTR name) {
  if (name == nullptr || *name == u'\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::shared_ptr<NamedObject> shared =
      NamedObject::Open(name, NamedKind::kSemaphore, false, 0, nullptr, nullptr);
  if (shared == nullptr) return nullptr;
  return NewKernelHandle(std::make_shared<SemaphoreObject>(std::move(shared)));
}

BOOL ReleaseSemaphore(HANDLE semaphore, LONG releaseCount, LONG* previousCount) {
  const std::shared_ptr<SemaphoreObject> object = KernelObjectAs<SemaphoreObject>(semaphore);
  return object != nullptr && object->Release(releaseCount, previousCount) ? TRUE : FALSE;
}

}  // namespace ce

// Kernel object handles: the device's HANDLE values for processes, mutexes, semaphores and
// file mappings, and the calls that work on any of them (CloseHandle, WaitForSingleObject,
// WaitForMultipleObjects).
//
// Invariants: a HANDLE is an opaque number handed out once and never reused while the process
// runs, so a handle that was closed is refused (ERROR_INVALID_HANDLE) instead of reaching
// another object. The table holds shared ownership: an object being waited on by one thread
// stays alive when another thread closes its handle. Waits that the object cannot do in one
// blocking call poll the objects with a backoff of at most one millisecond.
#pragma once

#include <memory>

#include "platform/last_error.h"
#include "platform/windows_types.h"

namespace ce {

inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_ABANDONED = 0x80;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD STILL_ACTIVE = 259;
inline constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;
inline constexpr DWORD ERROR_TOO_MANY_POSTS = 298;

// What a handle designates. TryTake takes the object when it is signalled now (a semaphore
// unit, a mutex's ownership; a process that ended stays signalled) and answers WAIT_OBJECT_0,
// WAIT_ABANDONED (a mutex whose owner died) or WAIT_TIMEOUT. Wait blocks up to `milliseconds`
// (INFINITE: no limit) for this object alone. GiveBack undoes a successful TryTake (used when
// a wait for all objects cannot complete).
class KernelObject {
 public:
  virtual ~KernelObject() = default;
  virtual DWORD TryTake() = 0;
  virtual DWORD Wait(DWORD milliseconds);
  virtual void GiveBack() {}
};

// Registers an object and returns its new handle (null when the object is null).
HANDLE NewKernelHandle(std::shared_ptr<KernelObject> object);
// The object of a handle, or null with ERROR_INVALID_HANDLE.
std::shared_ptr<KernelObject> KernelObjectOf(HANDLE handle);
template <class T>
std::shared_ptr<T> KernelObjectAs(HANDLE handle) {
  auto object = std::dynamic_pointer_cast<T>(KernelObjectOf(handle));
  if (object == nullptr) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

BOOL CloseHandle(HANDLE handle);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// Any: the index of the first signalled object (WAIT_OBJECT_0 + i, or WAIT_ABANDONED + i).
// All: takes every object or none (objects taken on the way are given back on time-out).
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                             DWORD milliseconds);

// The monotonic clock in milliseconds (deadlines of waits).
uint64_t MonotonicMilliseconds();

}  // namespace ce

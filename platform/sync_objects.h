// Mutexes and semaphores: CreateMutexW, ReleaseMutex, CreateSemaphoreW, OpenSemaphoreW,
// ReleaseSemaphore. Named ones are shared by every process of the device root
// (named_object.h); waits go through WaitForSingleObject / WaitForMultipleObjects.
//
// A mutex is a robust, recursive, process-shared mutex: when its owner dies (even by SIGKILL)
// the next wait takes it and answers WAIT_ABANDONED, as the device does, so a crash never
// leaves it locked. A semaphore is a count in shared memory with a futex, so a waiter
// sleeps in the kernel and a release wakes it at once.
//
// As on the device, creating an object that already exists opens it and sets the last error
// to ERROR_ALREADY_EXISTS (183), and the initial owner or count of the call is then ignored;
// a successful creation sets the last error to 0.
#pragma once

#include "platform/kernel_object.h"
#include "platform/windows_types.h"

namespace ce {

HANDLE CreateMutexW(void* attributes, BOOL initialOwner, LPCWSTR name);
BOOL ReleaseMutex(HANDLE mutex);
HANDLE CreateSemaphoreW(void* attributes, LONG initialCount, LONG maximumCount, LPCWSTR name);
// Opens an existing semaphore; null with ERROR_FILE_NOT_FOUND when there is none.
HANDLE OpenSemaphoreW(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name);
BOOL ReleaseSemaphore(HANDLE semaphore, LONG releaseCount, LONG* previousCount);

inline constexpr DWORD SEMAPHORE_ALL_ACCESS = 0x001F0003;
inline constexpr DWORD SYNCHRONIZE = 0x00100000;

}  // namespace ce

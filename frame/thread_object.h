// Per-thread objects reached through one thread-local word.
//
// A function-local `thread_local T` whose type has a constructor or destructor is guarded:
// every use first asks whether this thread has built it yet, and in a library loaded with
// dlopen the guard and the object are two thread-local lookups. The objects read on every VM
// call (the result texts of the date entries, the compiled-mask cache) go through ThreadObject
// instead: one trivially initialised pointer per thread, the object built on the thread's first
// use and destroyed when the thread ends. `Tag` tells apart two objects of the same type.
//
// Not for use from another thread-local object's destructor: the object may be gone by then.
#pragma once

namespace tq {

template <typename T, typename Tag = T>
T& ThreadObject() {
  thread_local T* object = nullptr;
  if (object == nullptr) [[unlikely]] {
    thread_local T owned;
    object = &owned;
  }
  return *object;
}

}  // namespace tq

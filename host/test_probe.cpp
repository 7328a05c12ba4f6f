// Loading the test probe named by TQ_TEST_PROBE.
#include "host/test_probe.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "host/vm_objects.h"

namespace tqhost {
namespace {

using StartFn = void (*)(tq::VMObject*);
using EntryFn = tq::ImplementationEntry (*)(uint32_t, int32_t);
using StopFn = void (*)();

struct Probe {
  EntryFn entry = nullptr;
  StopFn stop = nullptr;
};

const Probe& LoadedProbe() {
  static Probe probe;
  static std::once_flag once;
  std::call_once(once, [] {
    const char* path = std::getenv("TQ_TEST_PROBE");
    if (path == nullptr || *path == '\0') return;
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      std::fprintf(stderr, "tq240: cannot load the test probe %s: %s\n", path, dlerror());
      return;
    }
    auto start = reinterpret_cast<StartFn>(dlsym(handle, "TqProbeStart"));
    probe.entry = reinterpret_cast<EntryFn>(dlsym(handle, "TqProbeEntry"));
    probe.stop = reinterpret_cast<StopFn>(dlsym(handle, "TqProbeStop"));
    if (start != nullptr) start(Allocator());
  });
  return probe;
}

}  // namespace

tq::ImplementationEntry ProbeEntry(uint32_t function, int overload) {
  const Probe& probe = LoadedProbe();
  return probe.entry != nullptr ? probe.entry(function, overload) : nullptr;
}

void StopProbe() {
  const char* path = std::getenv("TQ_TEST_PROBE");
  if (path == nullptr || *path == '\0') return;
  const Probe& probe = LoadedProbe();
  if (probe.stop != nullptr) probe.stop();
}

}  // namespace tqhost

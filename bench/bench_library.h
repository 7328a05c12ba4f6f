// The library as the benchmarks of whole calls see it: loaded once per benchmark process
// through the VM stand-in's session, as tq240 loads it (TQ_LIBRARY_PATH is the built library).
// The device root is /tmp/tq240-bench-device unless the environment names one already.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "host/library_session.h"

namespace tqbench {

// `prepare` runs once, before the library is opened: it sets what the library reads from the
// environment when it starts (device root, clock, zone, locale). A library that does not open
// ends the benchmark process.
inline tqhost::LibrarySession& OpenedLibrary(void (*prepare)() = nullptr) {
  static tqhost::LibrarySession* session = [prepare] {
    if (prepare != nullptr) prepare();
    setenv("TQ_DEVICE", "/tmp/tq240-bench-device", 0);
    auto* s = new tqhost::LibrarySession();
    if (!s->Open(TQ_LIBRARY_PATH)) {
      std::fprintf(stderr, "cannot open the library: %s\n", s->error().c_str());
      std::exit(1);
    }
    return s;
  }();
  return *session;
}

}  // namespace tqbench

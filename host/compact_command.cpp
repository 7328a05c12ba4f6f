// tq240 compact SOURCE DESTINATION: calls the library's exported nfCompacte with both device
// paths as written, shows its progress messages on standard error (and collects them for
// --json), and sets the cancel flag on SIGINT. The host process is the compressor's progress
// window: it exports the two functions the library looks up.
#include <dlfcn.h>

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/host_value.h"

namespace {

std::atomic<int32_t> gCancel{0};
std::vector<int> gProgress;

void OnInterrupt(int) {
  gCancel.store(1);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void tq240ProgressMessage(uint32_t message,
                                                                             uintptr_t percent,
                                                                             intptr_t) {
  if (message != 1174) return;
  gProgress.push_back(static_cast<int>(percent));
  std::fprintf(stderr, "compact: %d%%\n", static_cast<int>(percent));
}

extern "C" __attribute__((visibility("default"))) int32_t tq240CancelFlag() {
  return gCancel.load();
}

namespace tqhost {

int RunCompact(LibrarySession&, const Options& options) {
  if (options.rest.size() != 2) {
    std::fprintf(stderr, "tq240: compact needs SOURCE and DESTINATION\n");
    return 2;
  }
  void* library = dlopen((ExecutableDirectory() + "/libtq240std.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  using Compacte = uint16_t (*)(const char16_t*, const char16_t*);
  auto compacte = library ? reinterpret_cast<Compacte>(dlsym(library, "nfCompacte")) : nullptr;
  if (compacte == nullptr) {
    std::fprintf(stderr, "tq240: the library does not export nfCompacte\n");
    if (library) dlclose(library);
    return 2;
  }
  const std::u16string source = FromUtf8(options.rest[0]);
  const std::u16string destination = FromUtf8(options.rest[1]);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  struct sigaction previous {};
  sigaction(SIGINT, &action, &previous);
  const uint16_t result = compacte(source.c_str(), destination.c_str());
  sigaction(SIGINT, &previous, nullptr);
  dlclose(library);
  if (options.json) {
    std::string progress;
    for (int p : gProgress) progress += (progress.empty() ? "" : ", ") + std::to_string(p);
    std::printf("{\"result\": %u, \"progress\": [%s]}\n", result, progress.c_str());
  } else {
    std::printf("%u\n", result);
  }
  return result == 0 ? 0 : 1;
}

}  // namespace tqhost

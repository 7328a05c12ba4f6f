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
bool gShowProgress = false;  // only the compact command shows it

void OnInterrupt(int) {
  gCancel.store(1);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void tq240ProgressMessage(uint32_t message,
                                                                             uintptr_t percent,
                                                                             intptr_t) {
  if (message != 1174) return;
  gProgress.push_back(static_cast<int>(percent));
  if (gShowProgress) std::fprintf(stderr, "compact: %d%%\n", static_cast<int>(percent));
}

extern "C" __attribute__((visibility("default"))) int32_t tq240CancelFlag() {
  return gCancel.load();
}

namespace tqhost {

using Compacte = uint16_t (*)(const char16_t*, const char16_t*);

Compacte FindCompacte(LibrarySession& library) {
  return library.handle() != nullptr
             ? reinterpret_cast<Compacte>(dlsym(library.handle(), "nfCompacte"))
             : nullptr;
}

int CallCompacte(LibrarySession& library, const std::u16string& source,
                 const std::u16string& destination) {
  const Compacte compacte = FindCompacte(library);
  return compacte != nullptr ? compacte(source.c_str(), destination.c_str()) : -1;
}

int RunCompact(LibrarySession& library, const Options& options) {
  if (options.rest.size() != 2) {
    std::fprintf(stderr, "tq240: compact needs SOURCE and DESTINATION\n");
    return 2;
  }
  const Compacte compacte = FindCompacte(library);
  if (compacte == nullptr) {
    std::fprintf(stderr, "tq240: the library does not export nfCompacte\n");
    return 2;
  }
  const std::u16string source = FromUtf8(options.rest[0]);
  const std::u16string destination = FromUtf8(options.rest[1]);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  struct sigaction previous {};
  sigaction(SIGINT, &action, &previous);
  gShowProgress = true;
  const uint16_t result = compacte(source.c_str(), destination.c_str());
  sigaction(SIGINT, &previous, nullptr);
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

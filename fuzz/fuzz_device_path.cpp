// Fuzzes device path mapping: whatever the input (read as UTF-16LE), a mapped path must lie
// inside the device root, contain no "." or ".." component, and resolve inside the root even
// through the symbolic links that the fuzzer's device root holds (links to "/", to "..", to
// an outside directory, dangling ones and a loop).
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/device_config.h"
#include "platform/device_path.h"

namespace {

std::string gRoot;

[[noreturn]] void Fail(const char* what, const std::string& path) {
  std::fprintf(stderr, "%s: %s (root %s)\n", what, path.c_str(), gRoot.c_str());
  std::abort();
}

bool Inside(const std::string& path) {
  return path == gRoot || path.rfind(gRoot + "/", 0) == 0;
}

// The longest existing prefix of `path`, resolved by the kernel.
std::string ResolvedExistingPrefix(const std::string& path) {
  std::string prefix = path;
  while (!prefix.empty()) {
    if (char* real = realpath(prefix.c_str(), nullptr)) {
      std::string result(real);
      free(real);
      return result;
    }
    const size_t slash = prefix.rfind('/');
    if (slash == std::string::npos || slash == 0) break;
    prefix.resize(slash);
  }
  return gRoot;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  namespace fs = std::filesystem;
  std::string base = (fs::temp_directory_path() / "fuzz-device-XXXXXX").string();
  if (mkdtemp(base.data()) == nullptr) std::abort();
  const std::string root = base + "/device";
  fs::create_directories(root + "/Windows/Sub");
  fs::create_directories(base + "/outside");
  symlink("/", (root + "/abs").c_str());
  symlink("..", (root + "/up").c_str());
  symlink("../../outside", (root + "/Windows/out").c_str());
  symlink((base + "/outside/new").c_str(), (root + "/dangling").c_str());
  symlink("Windows", (root + "/win").c_str());
  symlink("loop", (root + "/loop").c_str());
  setenv("TQ_DEVICE", root.c_str(), 1);
  ce::ResetDeviceConfigForTesting();
  gRoot = ce::DeviceRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string path;
  for (size_t i = 0; i + 1 < size; i += 2) {
    path.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  const std::optional<std::string> mapped = ce::MapDevicePath(path);
  if (!mapped) return 0;
  if (!Inside(*mapped)) Fail("mapped outside the root", *mapped);
  const std::string rest = mapped->substr(gRoot.size());
  if (rest.find("/./") != std::string::npos || rest.find("/../") != std::string::npos ||
      (rest.size() >= 2 && rest.compare(rest.size() - 2, 2, "/.") == 0) ||
      (rest.size() >= 3 && rest.compare(rest.size() - 3, 3, "/..") == 0)) {
    Fail("dot component left in", *mapped);
  }
  if (!Inside(ResolvedExistingPrefix(*mapped))) Fail("resolves outside the root", *mapped);
  return 0;
}

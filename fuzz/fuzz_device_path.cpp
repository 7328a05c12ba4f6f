// Fuzzes device path mapping: whatever the input (read as UTF-16LE), a mapped path must lie
// inside its volume (the device root, or for \Network\Docs\... the folder of the share
// connected as Docs), contain no "." or ".." component, and resolve inside that volume even
// through the symbolic links that the fuzzer's root and share hold (links to "/", to "..", to
// an outside directory, from the share into the root, dangling ones and a loop).
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/device_config.h"
#include "platform/device_path.h"
#include "platform/network_connection.h"
#include "platform/network_settings.h"

namespace {

std::string gRoot;
std::string gShare;
std::string gVolume;  // the folder of the path being checked

[[noreturn]] void Fail(const char* what, const std::string& path) {
  std::fprintf(stderr, "%s: %s (volume %s)\n", what, path.c_str(), gVolume.c_str());
  std::abort();
}

bool Inside(const std::string& path) {
  return path == gVolume || path.rfind(gVolume + "/", 0) == 0;
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
  return gVolume;
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
  const std::string share = base + "/share";
  fs::create_directories(share + "/Docs/Sub");
  symlink("/", (share + "/abs").c_str());
  symlink("..", (share + "/up").c_str());
  symlink("../device", (share + "/root").c_str());
  symlink("Docs", (share + "/docs-link").c_str());
  setenv("TQ_DEVICE", root.c_str(), 1);
  ce::ResetDeviceConfigForTesting();
  gRoot = ce::DeviceRoot();
  auto settings = std::make_shared<ce::NetworkSettings>();
  settings->shares.push_back({u"srv", u"docs", share, std::nullopt});
  ce::SetNetworkSettingsForTesting(settings);
  std::u16string local = u"Docs", remote = u"\\\\srv\\docs";
  ce::NETRESOURCEW resource{ce::RESOURCE_GLOBALNET, ce::RESOURCETYPE_ANY, 0,
                            ce::RESOURCEUSAGE_CONNECTABLE, local.data(), remote.data(),
                            nullptr, nullptr};
  if (ce::WNetAddConnection3W(nullptr, &resource, u"", nullptr, 0) != 0) std::abort();
  gShare = fs::canonical(share).string();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string path = fuzzinput::Utf16Units(data, size);
  const std::optional<ce::DeviceLocation> location = ce::ResolveDevicePath(path);
  const std::optional<std::string> mapped = ce::MapDevicePath(path);
  if (location.has_value() != mapped.has_value() && !(location && location->IsNetworkFolder())) {
    Fail("resolving and mapping disagree", mapped.value_or(""));
  }
  if (!mapped) return 0;
  gVolume = location->volume == ce::DeviceVolume::kShare ? gShare : gRoot;
  if (location->base != gVolume || *mapped != location->HostPath()) {
    Fail("mapped into another volume", *mapped);
  }
  if (!Inside(*mapped)) Fail("mapped outside its volume", *mapped);
  const std::string rest = mapped->substr(gVolume.size());
  if (rest.find("/./") != std::string::npos || rest.find("/../") != std::string::npos ||
      (rest.size() >= 2 && rest.compare(rest.size() - 2, 2, "/.") == 0) ||
      (rest.size() >= 3 && rest.compare(rest.size() - 3, 3, "/..") == 0)) {
    Fail("dot component left in", *mapped);
  }
  if (!Inside(ResolvedExistingPrefix(*mapped))) Fail("resolves outside its volume", *mapped);
  return 0;
}

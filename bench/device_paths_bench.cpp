// What a device path costs before the file is reached, on the same file in the same run:
//   BM_AttributesInRoot    GetFileAttributesW("\dir\sub\file.txt") in the device root
//   BM_AttributesInShare   GetFileAttributesW("\Network\Docs\dir\sub\file.txt"): the same
//                          resolution plus the look-up of the connection (.device/connections.txt)
//   BM_HostStat            stat() of the host path, the baseline
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/device_config.h"
#include "platform/device_path.h"
#include "platform/file_api.h"
#include "platform/network_connection.h"
#include "platform/network_settings.h"

namespace {

namespace fs = std::filesystem;

// A device root and a share folder beside it, each holding dir/sub/file.txt, the share
// connected as Docs.
const std::string& Work() {
  static const std::string work = [] {
    char pattern[] = "/tmp/bench-paths-XXXXXX";
    const std::string base = mkdtemp(pattern);
    setenv("TQ_DEVICE", (base + "/device").c_str(), 1);
    ce::ResetDeviceConfigForTesting();
    for (const std::string& folder : {ce::DeviceRoot(), base + "/share"}) {
      fs::create_directories(folder + "/dir/sub");
      std::ofstream(folder + "/dir/sub/file.txt") << "x";
    }
    auto settings = std::make_shared<ce::NetworkSettings>();
    settings->shares.push_back({u"srv", u"docs", base + "/share", std::nullopt});
    ce::SetNetworkSettingsForTesting(settings);
    std::u16string local = u"Docs", remote = u"\\\\srv\\docs";
    ce::NETRESOURCEW resource{
        ce::RESOURCE_GLOBALNET, ce::RESOURCETYPE_ANY, 0,       ce::RESOURCEUSAGE_CONNECTABLE,
        local.data(),           remote.data(),        nullptr, nullptr};
    ce::WNetAddConnection3W(nullptr, &resource, u"", nullptr, 0);
    return base;
  }();
  return work;
}

void Attributes(benchmark::State& state, const char16_t* path) {
  Work();
  for (auto _ : state) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path);
    if (attributes == ce::INVALID_FILE_ATTRIBUTES) state.SkipWithError("not found");
    benchmark::DoNotOptimize(attributes);
  }
}

void BM_AttributesInRoot(benchmark::State& state) {
  Attributes(state, u"\\dir\\sub\\file.txt");
}
BENCHMARK(BM_AttributesInRoot)->Unit(benchmark::kMicrosecond);

void BM_AttributesInShare(benchmark::State& state) {
  Attributes(state, u"\\Network\\Docs\\dir\\sub\\file.txt");
}
BENCHMARK(BM_AttributesInShare)->Unit(benchmark::kMicrosecond);

void BM_HostStat(benchmark::State& state) {
  const std::string host = Work() + "/share/dir/sub/file.txt";
  for (auto _ : state) {
    struct stat info {};
    benchmark::DoNotOptimize(stat(host.c_str(), &info));
  }
}
BENCHMARK(BM_HostStat)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// The files family against the host's tools, on the same files in the same run:
//   BM_Compact/<corpus>      nfCompacte's worker (reading, coding, writing the container)
//   BM_Gzip6/<corpus>        `gzip -6 -c FILE > OUT`
//     corpus: 0 text (the GPL-3 licence text of /usr/share/common-licenses), 1 C++ source
//     (this repository's sources), 2 an ELF binary (this program), 3 a dictionary (sorted
//     words of all the licences), 4 all the licences one after another (texts that repeat
//     each other farther apart than the coder's 8 KB dictionary reaches, where gzip's 32 KB
//     window wins); packed_bytes is the output size, ratio_vs_input its share.
//   BM_ReadLines / BM_Getline   a 100 MB text file read line by line through a file handle's
//                               reader, and with std::getline
//   BM_CopyFile / BM_Cp         a 256 MB file copied with CopyFileW, and with cp
//   BM_ListFiles / BM_ReaddirFnmatch  10,000 files listed with their lines, and with readdir
//                               + fnmatch + stat
// Times are wall-clock so that the tools' processes are measured like our calls.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "files/compact.h"
#include "files/file_handles.h"
#include "files/file_listing.h"
#include "frame/error_state.h"
#include "platform/device_config.h"
#include "platform/device_path.h"
#include "platform/file_api.h"

namespace {

namespace fs = std::filesystem;

const std::string& Root() {
  static const std::string root = [] {
    char pattern[] = "/tmp/bench-files-XXXXXX";
    setenv("TQ_DEVICE", mkdtemp(pattern), 1);
    ce::ResetDeviceConfigForTesting();
    return ce::DeviceRoot();
  }();
  return root;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Writes the corpus file once and returns its device name.
std::u16string Corpus(int which) {
  static const char* names[] = {"text.txt", "source.cpp", "binary.elf", "words.txt",
                                "licences.txt"};
  const std::string host = Root() + "/" + names[which];
  if (!fs::exists(host)) {
    std::string content;
    if (which == 0) {
      content = Slurp("/usr/share/common-licenses/GPL-3");
    } else if (which == 3 || which == 4) {
      for (const auto& e : fs::directory_iterator("/usr/share/common-licenses")) {
        if (e.is_regular_file()) content += Slurp(e.path());
      }
      if (which == 3) {
        std::set<std::string> words;
        std::istringstream in(content);
        for (std::string w; in >> w;) words.insert(w);
        content.clear();
        for (const std::string& w : words) content += w + "\n";
      }
    } else if (which == 1) {
      for (const char* dir : {TQ_SOURCE_DIR "/platform", TQ_SOURCE_DIR "/files", TQ_SOURCE_DIR "/frame",
                              TQ_SOURCE_DIR "/datetime", TQ_SOURCE_DIR "/host"}) {
        for (const auto& e : fs::directory_iterator(dir)) {
          if (e.path().extension() == ".cpp" || e.path().extension() == ".h") content += Slurp(e.path());
        }
      }
    } else {
      content = Slurp("/proc/self/exe");
    }
    std::ofstream(host, std::ios::binary) << content;
  }
  return u"\\" + std::u16string(names[which], names[which] + std::char_traits<char>::length(names[which]));
}

std::string HostOf(const std::u16string& device) {
  return *ce::MapDevicePath(device);
}

void BM_Compact(benchmark::State& state) {
  const std::u16string source = Corpus(static_cast<int>(state.range(0)));
  const auto size = static_cast<int64_t>(fs::file_size(HostOf(source)));
  for (auto _ : state) {
    if (tq::Compact(source, u"\\out.lzh") != 0) state.SkipWithError("compaction failed");
  }
  state.SetBytesProcessed(state.iterations() * size);
  state.counters["packed_bytes"] = static_cast<double>(fs::file_size(Root() + "/out.lzh"));
  state.counters["ratio_vs_input"] = state.counters["packed_bytes"] / static_cast<double>(size);
}
BENCHMARK(BM_Compact)->DenseRange(0, 4)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_Gzip6(benchmark::State& state) {
  const std::string source = HostOf(Corpus(static_cast<int>(state.range(0))));
  const auto size = static_cast<int64_t>(fs::file_size(source));
  const std::string command = "gzip -6 -c '" + source + "' > '" + Root() + "/out.gz'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("gzip failed");
  }
  state.SetBytesProcessed(state.iterations() * size);
  state.counters["packed_bytes"] = static_cast<double>(fs::file_size(Root() + "/out.gz"));
  state.counters["ratio_vs_input"] = state.counters["packed_bytes"] / static_cast<double>(size);
}
BENCHMARK(BM_Gzip6)->DenseRange(0, 4)->UseRealTime()->Unit(benchmark::kMillisecond);

const std::string& LinesFile() {
  static const std::string path = [] {
    const std::string host = Root() + "/lines.txt";
    std::ofstream out(host, std::ios::binary);
    std::string line;
    for (size_t written = 0, i = 0; written < (100u << 20); ++i) {
      line = "record " + std::to_string(i) + " of the device journal, with some text\r\n";
      out << line;
      written += line.size();
    }
    return host;
  }();
  return path;
}

void BM_ReadLines(benchmark::State& state) {
  const auto size = static_cast<int64_t>(fs::file_size(LinesFile()));
  for (auto _ : state) {
    auto* stream = new tq::FileStream(new tq::CXError());
    stream->Open(u"\\lines.txt", ce::GENERIC_READ, 0, ce::OPEN_EXISTING, 0, nullptr);
    tq::TextFileHandle file(stream, true);
    bool failed = false;
    size_t lines = 0;
    while (file.ReadLineBytes(&failed)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ReadLines)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_Getline(benchmark::State& state) {
  const auto size = static_cast<int64_t>(fs::file_size(LinesFile()));
  for (auto _ : state) {
    std::ifstream in(LinesFile(), std::ios::binary);
    size_t lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_Getline)->UseRealTime()->Unit(benchmark::kMillisecond);

const std::string& BigFile() {
  static const std::string path = [] {
    const std::string host = Root() + "/big.bin";
    std::ofstream out(host, std::ios::binary);
    std::string block(1 << 20, 'x');
    for (int i = 0; i < 256; ++i) {
      block[static_cast<size_t>(i)] = static_cast<char>(i);
      out << block;
    }
    return host;
  }();
  return path;
}

void BM_CopyFile(benchmark::State& state) {
  const auto size = static_cast<int64_t>(fs::file_size(BigFile()));
  for (auto _ : state) {
    if (!ce::CopyFileW(u"\\big.bin", u"\\big.copy", ce::FALSE)) state.SkipWithError("copy failed");
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_CopyFile)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_Cp(benchmark::State& state) {
  const auto size = static_cast<int64_t>(fs::file_size(BigFile()));
  const std::string command = "cp '" + BigFile() + "' '" + Root() + "/big.cp'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_Cp)->UseRealTime()->Unit(benchmark::kMillisecond);

const std::string& ManyFiles() {
  static const std::string path = [] {
    const std::string host = Root() + "/many";
    fs::create_directories(host);
    for (int i = 0; i < 10000; ++i) std::ofstream(host + "/file" + std::to_string(i) + ".txt") << i;
    return host;
  }();
  return path;
}

void BM_ListFiles(benchmark::State& state) {
  ManyFiles();
  for (auto _ : state) benchmark::DoNotOptimize(tq::ListFiles(u"\\many\\*.txt", 2));
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ListFiles)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ReaddirFnmatch(benchmark::State& state) {
  const std::string folder = ManyFiles();
  for (auto _ : state) {
    std::string list;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* e = readdir(dir)) {
      if (fnmatch("*.txt", e->d_name, FNM_CASEFOLD) != 0) continue;
      struct stat info {};
      fstatat(dirfd(dir), e->d_name, &info, 0);
      list += folder + "/" + e->d_name + "\t" + std::to_string(info.st_size) + "\r\n";
    }
    closedir(dir);
    benchmark::DoNotOptimize(list);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ReaddirFnmatch)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// BufferDiffCreate and BufferDiffApply's workers on large buffers, against xdelta3 on the
// same inputs in the same run:
//   BM_Create<edits>/<MB>         CreateDifference (hashing, scan, writing, verifying)
//   BM_Apply<edits>/<MB>          ApplyDifference into a ready buffer (checks, copies, CRC-32s)
//   BM_Xdelta3Create<edits>/<MB>  `xdelta3 -e -f -s OLD NEW PATCH` (default options)
//   BM_Xdelta3Apply<edits>/<MB>   `xdelta3 -d -f -s OLD PATCH OUT`
// Edits: "scattered" changes 16 bytes every 64 KB in place; "inserted" inserts a 4 KB block of
// fresh bytes every 1 MB, shifting everything after it. The old buffer is pseudo-random.
// Throughput (bytes_per_second) counts the new buffer; patch_bytes is the difference's size.
// Times are wall-clock so that the xdelta3 processes are measured like our calls; the xdelta3
// figures include writing its output file to a memory-backed directory when /dev/shm exists.
// Our creation and application are expected to scale linearly: the _BigO and _RMS lines fit
// each family to O(N) (N = new buffer bytes).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "services/dif_apply.h"
#include "services/dif_create.h"

extern char** environ;

namespace {

using Bytes = std::vector<uint8_t>;

enum Edits { kScattered = 0, kInserted = 1 };
const char* const kEditNames[] = {"scattered", "inserted"};

struct Pair {
  Bytes old, neu;
};

const Pair& Inputs(int megabytes, Edits edits) {
  static std::map<std::pair<int, int>, Pair> cache;
  Pair& p = cache[{megabytes, edits}];
  if (!p.old.empty()) return p;
  std::mt19937_64 rng(static_cast<uint64_t>(megabytes) * 2 + edits);
  p.old.resize(static_cast<size_t>(megabytes) << 20);
  for (size_t i = 0; i < p.old.size(); i += 8) {
    const uint64_t r = rng();
    for (size_t k = 0; k < 8 && i + k < p.old.size(); ++k)
      p.old[i + k] = static_cast<uint8_t>(r >> (8 * k));
  }
  if (edits == kScattered) {
    p.neu = p.old;
    for (size_t at = 1000; at + 16 <= p.neu.size(); at += 64 << 10)
      for (size_t k = 0; k < 16; ++k) p.neu[at + k] = static_cast<uint8_t>(rng());
  } else {
    p.neu.reserve(p.old.size() + p.old.size() / 256);
    for (size_t at = 0; at < p.old.size(); at += 1 << 20) {
      p.neu.insert(p.neu.end(), p.old.begin() + static_cast<ptrdiff_t>(at),
                   p.old.begin() + static_cast<ptrdiff_t>(std::min(p.old.size(), at + (1 << 20))));
      for (int k = 0; k < 4096; ++k) p.neu.push_back(static_cast<uint8_t>(rng()));
    }
  }
  return p;
}

template <Edits E>
void BM_Create(benchmark::State& state) {
  const Pair& p = Inputs(static_cast<int>(state.range(0)), E);
  size_t patch = 0;
  for (auto _ : state) {
    tq::DiffCreation created = tq::CreateDifference(p.old, p.neu);
    if (!created.outcome.succeeded) state.SkipWithError("creation failed");
    patch = created.dif.size();
    benchmark::DoNotOptimize(created.dif.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * p.neu.size()));
  state.SetComplexityN(static_cast<int64_t>(p.neu.size()));
  state.counters["patch_bytes"] = static_cast<double>(patch);
}

template <Edits E>
void BM_Apply(benchmark::State& state) {
  const Pair& p = Inputs(static_cast<int>(state.range(0)), E);
  const tq::DiffCreation created = tq::CreateDifference(p.old, p.neu);
  Bytes out(p.neu.size());
  for (auto _ : state) {
    const tq::DiffOutcome applied = tq::ApplyDifference(
        p.old, created.dif, [&out](size_t n) { return n <= out.size() ? out.data() : nullptr; });
    if (!applied.succeeded) state.SkipWithError("application failed");
    benchmark::ClobberMemory();
  }
  if (out != p.neu) state.SkipWithError("wrong result");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * p.neu.size()));
  state.SetComplexityN(static_cast<int64_t>(p.neu.size()));
  state.counters["patch_bytes"] = static_cast<double>(created.dif.size());
}

// ---- xdelta3 -----------------------------------------------------------------------------

// The directory of the xdelta3 files, made on first use; null until then. Held by a plain
// pointer so that the clean-up at exit never meets a destroyed string.
const std::string* gWorkDirectory = nullptr;

const std::string& WorkDirectory() {
  if (gWorkDirectory == nullptr) {
    const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    auto* d = new std::string(base + "/bench_buffer_diff." + std::to_string(getpid()));
    mkdir(d->c_str(), 0700);
    gWorkDirectory = d;
  }
  return *gWorkDirectory;
}

void WriteFile(const std::string& path, const Bytes& b) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

bool Run(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

off_t FileSize(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

struct XdeltaFiles {
  std::string old, neu, patch, out;
};

XdeltaFiles Prepare(Edits edits, int megabytes, const Pair& p) {
  const std::string stem =
      WorkDirectory() + "/" + kEditNames[edits] + "_" + std::to_string(megabytes);
  XdeltaFiles f{stem + ".old", stem + ".new", stem + ".vcdiff", stem + ".out"};
  if (FileSize(f.old) != static_cast<off_t>(p.old.size())) WriteFile(f.old, p.old);
  if (FileSize(f.neu) != static_cast<off_t>(p.neu.size())) WriteFile(f.neu, p.neu);
  return f;
}

template <Edits E>
void BM_Xdelta3Create(benchmark::State& state) {
  const Pair& p = Inputs(static_cast<int>(state.range(0)), E);
  const XdeltaFiles f = Prepare(E, static_cast<int>(state.range(0)), p);
  for (auto _ : state) {
    if (!Run({"xdelta3", "-e", "-f", "-s", f.old, f.neu, f.patch})) {
      state.SkipWithError("xdelta3 -e failed (is the xdelta3 package installed?)");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * p.neu.size()));
  state.counters["patch_bytes"] = static_cast<double>(FileSize(f.patch));
}

template <Edits E>
void BM_Xdelta3Apply(benchmark::State& state) {
  const Pair& p = Inputs(static_cast<int>(state.range(0)), E);
  const XdeltaFiles f = Prepare(E, static_cast<int>(state.range(0)), p);
  if (!Run({"xdelta3", "-e", "-f", "-s", f.old, f.neu, f.patch})) {
    state.SkipWithError("xdelta3 -e failed (is the xdelta3 package installed?)");
    return;
  }
  for (auto _ : state) {
    if (!Run({"xdelta3", "-d", "-f", "-s", f.old, f.patch, f.out})) {
      state.SkipWithError("xdelta3 -d failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * p.neu.size()));
  state.counters["patch_bytes"] = static_cast<double>(FileSize(f.patch));
  std::remove(f.out.c_str());
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgName("MB")->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_TEMPLATE(BM_Create, kScattered)->Apply(Sizes)->Complexity(benchmark::oN);
BENCHMARK_TEMPLATE(BM_Xdelta3Create, kScattered)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Create, kInserted)->Apply(Sizes)->Complexity(benchmark::oN);
BENCHMARK_TEMPLATE(BM_Xdelta3Create, kInserted)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Apply, kScattered)->Apply(Sizes)->Complexity(benchmark::oN);
BENCHMARK_TEMPLATE(BM_Xdelta3Apply, kScattered)->Apply(Sizes);
BENCHMARK_TEMPLATE(BM_Apply, kInserted)->Apply(Sizes)->Complexity(benchmark::oN);
BENCHMARK_TEMPLATE(BM_Xdelta3Apply, kInserted)->Apply(Sizes);

// Removes the xdelta3 files at exit.
struct CleanUp {
  ~CleanUp() {
    if (gWorkDirectory == nullptr) return;
    const std::string& dir = *gWorkDirectory;
    for (const char* e : kEditNames)
      for (int mb : {1, 16, 64})
        for (const char* ext : {".old", ".new", ".vcdiff", ".out"})
          std::remove((dir + "/" + e + "_" + std::to_string(mb) + ext).c_str());
    rmdir(dir.c_str());
  }
} cleanUp;

}  // namespace

BENCHMARK_MAIN();

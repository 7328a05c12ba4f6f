// One call of IsEven three ways, in the same run:
//   BM_WorkerDirect    the worker alone (the parity test), the baseline;
//   BM_EntryProtocol   what the VM does per call: argument array, call context made current,
//                      error state cleared, entry called through the library loaded with
//                      dlopen, result handed to SetResult and read back by the VM;
//   BM_CommandLineCall the stand-in's whole path from argument words (parsing, overload
//                      choice, argument storage), for scale.
// The protocol overhead is BM_EntryProtocol minus BM_WorkerDirect.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "bench/bench_library.h"
#include "frame/call_context.h"
#include "host/call_runner.h"
#include "host/vm_objects.h"

namespace {

tqhost::LibrarySession& Session() {
  return tqbench::OpenedLibrary();
}

bool IsEvenWorker(int32_t n) { return n % 2 == 0; }

void BM_WorkerDirect(benchmark::State& state) {
  int32_t n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(n);
    bool even = IsEvenWorker(n++);
    benchmark::DoNotOptimize(even);
  }
}
BENCHMARK(BM_WorkerDirect);

void BM_EntryProtocol(benchmark::State& state) {
  tqhost::LibrarySession& session = Session();
  const tq::FunctionRecord* record = session.FindRecord(147);
  tq::ImplementationEntry entry = session.OverloadsOf(*record)[0].entry;
  int32_t n = 0;
  void* args[1] = {&n};
  tq::CallContext context{};
  context.services = tqhost::Services();
  context.callWord = 1;
  for (auto _ : state) {
    ++n;
    session.Call(entry, context, args);
    benchmark::DoNotOptimize(tqhost::CurrentCall().result.integer);
  }
}
BENCHMARK(BM_EntryProtocol);

void BM_CommandLineCall(benchmark::State& state) {
  tqhost::CallRunner runner(Session());
  const std::vector<std::string> words = {"-4"};
  std::string error;
  for (auto _ : state) {
    std::optional<tqhost::CallRecord> r = runner.Run("IsEven", words, &error);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_CommandLineCall);

}  // namespace

BENCHMARK_MAIN();

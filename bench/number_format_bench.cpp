// NumberToString three ways in the same run, for a printf format and for a numeric mask:
//   BM_Snprintf*        the C library writing the same value, the baseline;
//   BM_*Worker          the library's worker called directly (format parsed, value written);
//   BM_*Call            the whole protocol: the entry called through the library loaded with
//                       dlopen, the value as a DynamicValue, the RegionalSettings asked of the
//                       VM, the text result handed to SetResult and read back by the VM.
// Target: each worker within twice snprintf.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "bench/bench_library.h"
#include "frame/call_context.h"
#include "frame/dynamic_value.h"
#include "host/vm_objects.h"
#include "numtext/number_to_string.h"

namespace {

constexpr double kValue = 1234567.891;
constexpr uint32_t kNumberToString = 217;
// Read anew in every iteration, so that the compiler cannot fold the conversion.
volatile double gValue = kValue;

void UseFixedDevice() {
  setenv("TQ_DEVICE", "/tmp/tq240-bench-device", 0);
  setenv("TQ_LOCALE", "fr-FR", 0);
}

tqhost::LibrarySession& Session() {
  return tqbench::OpenedLibrary(UseFixedDevice);
}

void BM_SnprintfFixed(benchmark::State& state) {
  char buffer[64];
  for (auto _ : state) {
    const double v = gValue;
    benchmark::DoNotOptimize(std::snprintf(buffer, sizeof buffer, "%14.2f", v));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SnprintfFixed);

// The worker's whole job: parse the format, write the value as UTF-16.
void BM_PrintfWorker(benchmark::State& state) {
  UseFixedDevice();
  tq::NumberArgument value;
  value.type = 12;
  value.real = kValue;
  for (auto _ : state) {
    std::u16string s = tq::NumberToString(value, u"14.2f", tq::RegionalSettings(), nullptr);
    benchmark::DoNotOptimize(s);
  }
  const std::u16string shown = tq::NumberToString(value, u"14.2f", tq::RegionalSettings(), nullptr);
  if (shown != u"    1234567.89") state.SkipWithError("unexpected text");
}
BENCHMARK(BM_PrintfWorker);

// The same with thousands grouped by the format's own separator.
void BM_PrintfGroupedWorker(benchmark::State& state) {
  tq::NumberArgument value;
  value.type = 12;
  value.real = kValue;
  for (auto _ : state) {
    std::u16string s = tq::NumberToString(value, u"14.2fA", tq::RegionalSettings(), nullptr);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_PrintfGroupedWorker);

// The mask path: the value's text, the device's number mask built and applied.
void BM_MaskWorker(benchmark::State& state) {
  UseFixedDevice();
  tq::NumberArgument value;
  value.type = 12;
  value.real = kValue;
  value.text = u"1234567.891";
  value.hasText = true;
  for (auto _ : state) {
    std::u16string s = tq::NumberToString(value, u"NumSystemMask", tq::RegionalSettings(), nullptr);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_MaskWorker);

void CallEntry(benchmark::State& state, const char16_t* format) {
  tqhost::LibrarySession& session = Session();
  const tq::FunctionRecord* record = session.FindRecord(kNumberToString);
  tq::ImplementationEntry entry = session.OverloadsOf(*record)[1].entry;
  tq::DynamicValue value;
  tq::SetReal(value, kValue);
  void* args[2] = {&value, &format};
  tq::CallContext context{};
  context.services = tqhost::Services();
  context.callWord = 2;
  for (auto _ : state) {
    session.Call(entry, context, args);
    benchmark::DoNotOptimize(tqhost::CurrentCall().result.text);
  }
  if (tqhost::CurrentCall().result.text.empty()) state.SkipWithError("no text");
}

void BM_PrintfCall(benchmark::State& state) { CallEntry(state, u"14.2f"); }
BENCHMARK(BM_PrintfCall);

void BM_MaskCall(benchmark::State& state) { CallEntry(state, u"NumSystemMask"); }
BENCHMARK(BM_MaskCall);

}  // namespace

BENCHMARK_MAIN();

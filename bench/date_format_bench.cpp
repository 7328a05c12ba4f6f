// Dates shown through a mask and read back, each three ways in the same run:
//   BM_Strftime / BM_Strptime   the C library producing (reading) the same text, the baseline;
//   BM_*Worker                  the library's worker called directly;
//   BM_*Call                    the whole protocol: the entry called through the library
//                               loaded with dlopen, arguments as the VM passes them, the
//                               RegionalSettings asked of the VM, the text result handed to
//                               SetResult and read back by the VM.
// Targets: the worker at least as fast as strftime, the call within twice the worker.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "bench/bench_library.h"
#include "datetime/date_mask_functions.h"
#include "datetime/date_parse_functions.h"
#include "frame/call_context.h"
#include "host/vm_objects.h"

namespace {

constexpr char16_t kDateTime[] = u"20240305143025";
constexpr char16_t kShown[] = u"05/03/2024 14:30:25";
constexpr char16_t kMask[] = u"JJ/MM/AAAA HH:mm:SS";
// The same texts with their lengths known, as strftime knows its format's.
constexpr std::u16string_view kDateTimeView = kDateTime, kShownView = kShown, kMaskView = kMask;

void UseFixedDevice() {
  setenv("TQ_DEVICE", "/tmp/tq240-bench-device", 0);
  setenv("TQ_CLOCK", "2024-03-05T10:00:00", 0);
  setenv("TQ_TZ", "UTC", 0);
}

tqhost::LibrarySession& Session() {
  return tqbench::OpenedLibrary(UseFixedDevice);
}

std::tm Moment() {
  std::tm t{};
  t.tm_year = 124;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 14;
  t.tm_min = 30;
  t.tm_sec = 25;
  return t;
}

void BM_Strftime(benchmark::State& state) {
  const std::tm t = Moment();
  char buffer[64];
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::strftime(buffer, sizeof buffer, "%d/%m/%Y %H:%M:%S", &t));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Strftime);

// The workers write into a text kept between calls, as strftime writes into its buffer (and
// as the entries do).
void BM_DateToStringWorker(benchmark::State& state) {
  UseFixedDevice();
  std::u16string s;
  for (auto _ : state) {
    tq::DateToString(kDateTimeView, kMaskView, tq::RegionalSettings(), nullptr, s);
    benchmark::DoNotOptimize(s.data());
    benchmark::ClobberMemory();
  }
  if (tq::DateToString(kDateTime, kMask, tq::RegionalSettings(), nullptr) != kShown)
    state.SkipWithError("unexpected text");
}
BENCHMARK(BM_DateToStringWorker);

void CallEntry(benchmark::State& state, uint32_t function, const char16_t* first,
               const char16_t* second, std::u16string_view expected) {
  tqhost::LibrarySession& session = Session();
  const tq::FunctionRecord* record = session.FindRecord(function);
  tq::ImplementationEntry entry = session.OverloadsOf(*record)[1].entry;
  const char16_t* texts[2] = {first, second};
  void* args[2] = {&texts[0], &texts[1]};
  tq::CallContext context{};
  context.services = tqhost::Services();
  context.callWord = 2;
  for (auto _ : state) {
    session.Call(entry, context, args);
    benchmark::DoNotOptimize(tqhost::CurrentCall().result.text);
  }
  if (tqhost::CurrentCall().result.text != expected) state.SkipWithError("unexpected text");
}

void BM_DateToStringCall(benchmark::State& state) {
  CallEntry(state, 9, kDateTime, kMask, kShown);
}
BENCHMARK(BM_DateToStringCall);

void BM_Strptime(benchmark::State& state) {
  for (auto _ : state) {
    std::tm t{};
    benchmark::DoNotOptimize(strptime("05/03/2024 14:30:25", "%d/%m/%Y %H:%M:%S", &t));
    benchmark::DoNotOptimize(t);
  }
}
BENCHMARK(BM_Strptime);

void BM_StringToDateWorker(benchmark::State& state) {
  UseFixedDevice();
  std::u16string s;
  for (auto _ : state) {
    tq::StringToDate(kShownView, kMaskView, tq::RegionalSettings(), s);
    benchmark::DoNotOptimize(s.data());
    benchmark::ClobberMemory();
  }
  if (tq::StringToDate(kShown, kMask, tq::RegionalSettings()) != u"20240305143025000")
    state.SkipWithError("unexpected text");
}
BENCHMARK(BM_StringToDateWorker);

void BM_StringToDateCall(benchmark::State& state) {
  CallEntry(state, 155, kShown, kMask, u"20240305143025000");
}
BENCHMARK(BM_StringToDateCall);

}  // namespace

BENCHMARK_MAIN();

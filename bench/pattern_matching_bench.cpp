// MatchRegex on a cached pattern and a 100-character subject, in the same run:
//   BM_RegexecAlone     regcomp once, regexec per subject on its 8-bit text: the baseline;
//   BM_ReMatchAlone     the GNU engine's own anchored matcher on the same bytes;
//   BM_MatchRegexWorker the worker: cache lookup, conversion from UTF-16, match, the groups
//                       copied out as UTF-16;
//   BM_MatchRegexEntry  the whole call through the library's entry as the VM makes it.
// Overhead ratios: worker / regexec and entry / regexec.
#include <benchmark/benchmark.h>
#include <regex.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_library.h"
#include "frame/call_context.h"
#include "frame/text.h"
#include "host/vm_objects.h"
#include "numtext/pattern_match.h"

namespace {

const char kPattern[] = "([A-Za-z]+) ([0-9]{4})-([0-9]{2})-([0-9]{2}) (.*)";

std::string Subject() {
  std::string s = "Invoice 2024-05-03 ";
  while (s.size() < 100) s += "lorem ipsum ";
  return s.substr(0, 100);
}

tqhost::LibrarySession& Session() {
  return tqbench::OpenedLibrary();
}

void BM_RegexecAlone(benchmark::State& state) {
  regex_t re;
  regcomp(&re, (std::string("^") + kPattern + "$").c_str(), REG_EXTENDED);
  const std::string subject = Subject();
  regmatch_t m[8];
  for (auto _ : state) {
    int r = regexec(&re, subject.c_str(), 8, m, 0);
    benchmark::DoNotOptimize(r);
    benchmark::DoNotOptimize(m);
  }
  regfree(&re);
}
BENCHMARK(BM_RegexecAlone);

void BM_ReMatchAlone(benchmark::State& state) {
  const auto pattern = tq::AcquirePattern(kPattern, tq::kRegexSyntax);
  const std::string subject = Subject();
  for (auto _ : state) {
    re_registers regs{};
    int r = re_match(pattern->buffer(), subject.data(), static_cast<int>(subject.size()), 0, &regs);
    benchmark::DoNotOptimize(r);
    std::free(regs.start);
    std::free(regs.end);
  }
}
BENCHMARK(BM_ReMatchAlone);

void BM_MatchRegexWorker(benchmark::State& state) {
  const std::u16string pattern = tq::Cp1252ToUtf16(kPattern);
  const std::u16string subject = tq::Cp1252ToUtf16(Subject());
  std::u16string groups[5];
  for (auto _ : state) {
    tq::RegexMatcher matcher;
    tq::CompileForMatch(matcher, pattern, false, nullptr);
    bool ok = tq::MatchForCall(matcher, subject, nullptr) &&
              tq::DistributeGroups(matcher, subject, 5, [&](size_t i, std::u16string_view g) {
                groups[i - 1].assign(g);
                return true;
              });
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_MatchRegexWorker);

void BM_MatchRegexEntry(benchmark::State& state) {
  tqhost::LibrarySession& session = Session();
  const tq::FunctionRecord* record = session.FindRecord(286);
  tq::ImplementationEntry entry = session.OverloadsOf(*record)[0].entry;
  const std::u16string pattern = tq::Cp1252ToUtf16(kPattern);
  const std::u16string subject = tq::Cp1252ToUtf16(Subject());
  const char16_t* text = subject.c_str();
  const char16_t* expression = pattern.c_str();
  void* args[2] = {&text, &expression};
  tq::CallContext context{};
  context.services = tqhost::Services();
  context.callWord = 2;
  for (auto _ : state) {
    session.Call(entry, context, args);
    benchmark::DoNotOptimize(tqhost::CurrentCall().result.integer);
  }
}
BENCHMARK(BM_MatchRegexEntry);

}  // namespace

BENCHMARK_MAIN();

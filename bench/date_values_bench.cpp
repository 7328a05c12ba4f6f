// The calendar arithmetic under every date function, in the same run as its reference:
//   BM_DateToDayNumber / BM_ChronoDaysFromCivil     date to day count;
//   BM_DayNumberToDate / BM_ChronoCivilFromDays     day count to date;
//   BM_DateTextToDayNumber                          a date text read, checked and counted.
// Each loop walks a spread of dates from 1583 to 9999 so that no single year is favoured.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "datetime/date_values.h"

namespace {

using namespace std::chrono;

constexpr int32_t kFirst = -79257;  // 1583-01-01
constexpr int32_t kSpan = 3074245;  // days to 9999-12-31
constexpr int32_t kStride = 7919;   // a prime, to scatter the dates

int32_t NextNumber(int32_t& cursor) {
  cursor = (cursor + kStride) % kSpan;
  return kFirst + cursor;
}

void BM_DateToDayNumber(benchmark::State& state) {
  int32_t cursor = 0;
  std::vector<tq::CivilDate> dates;
  for (int i = 0; i < 4096; ++i) {
    tq::CivilDate d;
    tq::DayNumberToDate(NextNumber(cursor), d.day, d.month, d.year);
    dates.push_back(d);
  }
  size_t i = 0;
  for (auto _ : state) {
    const tq::CivilDate& d = dates[i++ & 4095];
    int32_t number = 0;
    benchmark::DoNotOptimize(tq::DateToDayNumber(d.day, d.month, d.year, number));
    benchmark::DoNotOptimize(number);
  }
}
BENCHMARK(BM_DateToDayNumber);

void BM_ChronoDaysFromCivil(benchmark::State& state) {
  int32_t cursor = 0;
  std::vector<year_month_day> dates;
  for (int i = 0; i < 4096; ++i)
    dates.push_back(year_month_day{sys_days{1799y / December / 31} + days{NextNumber(cursor)}});
  size_t i = 0;
  for (auto _ : state) {
    const sys_days d{dates[i++ & 4095]};
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK(BM_ChronoDaysFromCivil);

void BM_DayNumberToDate(benchmark::State& state) {
  int32_t cursor = 0;
  for (auto _ : state) {
    int32_t d = 0, m = 0, y = 0;
    benchmark::DoNotOptimize(tq::DayNumberToDate(NextNumber(cursor), d, m, y));
    benchmark::DoNotOptimize(d + m + y);
  }
}
BENCHMARK(BM_DayNumberToDate);

void BM_ChronoCivilFromDays(benchmark::State& state) {
  int32_t cursor = 0;
  const sys_days zero{1799y / December / 31};
  for (auto _ : state) {
    const year_month_day d{zero + days{NextNumber(cursor)}};
    benchmark::DoNotOptimize(d);
  }
}
BENCHMARK(BM_ChronoCivilFromDays);

void BM_DateTextToDayNumber(benchmark::State& state) {
  int32_t cursor = 0;
  std::vector<std::u16string> texts;
  for (int i = 0; i < 4096; ++i)
    texts.push_back(tq::DayNumberToDateText(NextNumber(cursor), u'\0', nullptr));
  size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(tq::DateTextToDayNumber(texts[i++ & 4095], false, nullptr));
}
BENCHMARK(BM_DateTextToDayNumber);

}  // namespace

BENCHMARK_MAIN();

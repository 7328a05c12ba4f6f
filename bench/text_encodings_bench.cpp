// Throughput of the byte encodings on 1 MB of random bytes (BufferToHex, HexToBuffer,
// UrlEncode, UrlDecode), and identifiers: NewUuid and GetGuid against getrandom with the bits
// set and the text formatted in C, in the same run.
#include <benchmark/benchmark.h>
#include <sys/random.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "numtext/hex_text.h"
#include "numtext/random_identifiers.h"
#include "numtext/url_encoding.h"

namespace {

constexpr size_t kMegabyte = 1 << 20;

const std::vector<uint8_t>& Bytes() {
  static const std::vector<uint8_t> bytes = [] {
    std::mt19937 rng(1);
    std::vector<uint8_t> b(kMegabyte);
    for (uint8_t& x : b) x = static_cast<uint8_t>(rng());
    return b;
  }();
  return bytes;
}

// URL-like text: mostly letters, some bytes that need escaping.
const std::string& UrlText() {
  static const std::string text = [] {
    std::mt19937 rng(2);
    const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ0123456789-._~ /&=?\xe9";
    std::string t(kMegabyte, 'a');
    for (char& c : t) c = alphabet[rng() % (sizeof alphabet - 1)];
    return t;
  }();
  return text;
}

void BM_BufferToHex(benchmark::State& state) {
  std::u16string text;
  for (auto _ : state) {
    tq::BufferToHex(Bytes(), 1, 16, text);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMegabyte));
}
BENCHMARK(BM_BufferToHex)->Unit(benchmark::kMicrosecond);

void BM_HexToBuffer(benchmark::State& state) {
  std::u16string text;
  tq::BufferToHex(Bytes(), 1, 16, text);
  std::vector<uint8_t> out;
  for (auto _ : state) {
    tq::HexToBuffer(text, 1, 0, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMegabyte));
}
BENCHMARK(BM_HexToBuffer)->Unit(benchmark::kMicrosecond);

void BM_UrlEncode(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string text = tq::UrlEncode(UrlText(), 7, 1252);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMegabyte));
}
BENCHMARK(BM_UrlEncode)->Unit(benchmark::kMicrosecond);

void BM_UrlDecode(benchmark::State& state) {
  const std::u16string encoded = tq::UrlEncode(UrlText(), 7, 1252);
  for (auto _ : state) {
    std::string bytes = tq::UrlDecode(encoded, 7, 1252);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMegabyte));
}
BENCHMARK(BM_UrlDecode)->Unit(benchmark::kMicrosecond);

void BM_NewUuid(benchmark::State& state) {
  for (auto _ : state) {
    tq::Uuid id = tq::NewUuid();
    benchmark::DoNotOptimize(id.data());
  }
}
BENCHMARK(BM_NewUuid);

void BM_GetrandomUuidInC(benchmark::State& state) {
  for (auto _ : state) {
    unsigned char id[16];
    if (getrandom(id, sizeof id, 0) != 16) state.SkipWithError("getrandom");
    id[6] = static_cast<unsigned char>((id[6] & 0x0F) | 0x40);
    id[8] = static_cast<unsigned char>((id[8] & 0x3F) | 0x80);
    benchmark::DoNotOptimize(id);
  }
}
BENCHMARK(BM_GetrandomUuidInC);

void BM_GetGuidText(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string text = tq::GuidText(1);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_GetGuidText);

void BM_GetrandomGuidTextInC(benchmark::State& state) {
  for (auto _ : state) {
    unsigned char b[16];
    if (getrandom(b, sizeof b, 0) != 16) state.SkipWithError("getrandom");
    char text[40];
    std::snprintf(text, sizeof text, "{%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x}",
                  b[0], b[1], b[2], b[3], b[4], b[5], (b[6] & 0x0F) | 0x40, b[7], (b[8] & 0x3F) | 0x80,
                  b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_GetrandomGuidTextInC);

}  // namespace

BENCHMARK_MAIN();

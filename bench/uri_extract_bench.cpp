// Every part of 10,000 varied URIs: UriExtract (mask 1023, the direct parser of its
// expression) against uriparser parsing the same URIs and copying the same parts, in one run.
// The same parts read from the regular-expression engine's match show what the parser saves.
#include <benchmark/benchmark.h>
#include <uriparser/Uri.h>

#include <random>
#include <string>
#include <vector>

#include "frame/text.h"
#include "net/uri_extract.h"

namespace {

const std::vector<std::string>& Uris() {
  static const std::vector<std::string> uris = [] {
    std::mt19937 rng(3);
    const char* schemes[] = {"http", "https", "ftp", "file", "mailto"};
    const char* hosts[] = {"example.org", "www.example.com", "10.0.0.1", "h", "files.local"};
    const char* files[] = {"index.html", "archive.tar.gz", "page", "a.b.c.d", "report.pdf"};
    std::vector<std::string> out;
    for (int i = 0; i < 10000; ++i) {
      std::string u = schemes[rng() % 5];
      u += "://";
      if (rng() % 3 == 0) u += "user" + std::to_string(rng() % 100) + (rng() % 2 ? ":pw@" : "@");
      u += hosts[rng() % 5];
      if (rng() % 2) u += ":" + std::to_string(rng() % 65536);
      const int depth = static_cast<int>(rng() % 5);
      for (int d = 0; d < depth; ++d) u += "/dir" + std::to_string(rng() % 1000);
      u += "/";
      u += files[rng() % 5];
      if (rng() % 2) u += "?k=" + std::to_string(rng()) + "&x=y";
      if (rng() % 3 == 0) u += "#section" + std::to_string(rng() % 10);
      out.push_back(u);
    }
    return out;
  }();
  return uris;
}

// Runs `parse` on every URI as UTF-16 text.
template <typename Parse>
void OverWideUris(benchmark::State& state, Parse parse) {
  std::vector<std::u16string> wide;
  for (const std::string& u : Uris()) wide.push_back(tq::Cp1252ToUtf16(u));
  for (auto _ : state) {
    for (const std::u16string& u : wide) {
      auto result = parse(u);
      benchmark::DoNotOptimize(result);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * wide.size()));
}

void BM_UriExtractAllParts(benchmark::State& state) {
  OverWideUris(state, [](const std::u16string& u) { return tq::UriExtract(u, 1023); });
}
BENCHMARK(BM_UriExtractAllParts)->Unit(benchmark::kMillisecond);

// The groups alone, without building the result text.
void BM_UriPartsGroupsOnly(benchmark::State& state) {
  OverWideUris(state, [](const std::u16string& u) { return tq::ParseUriParts(u); });
}
BENCHMARK(BM_UriPartsGroupsOnly)->Unit(benchmark::kMillisecond);

void BM_UriEngineAllParts(benchmark::State& state) {
  OverWideUris(state, [](const std::u16string& u) {
    return tq::UriPartsText(u, tq::MatchUriWithEngine(u), 1023);
  });
}
BENCHMARK(BM_UriEngineAllParts)->Unit(benchmark::kMillisecond);

std::string Range(const UriTextRangeA& r) {
  return r.first != nullptr ? std::string(r.first, r.afterLast) : std::string();
}

void BM_UriparserAllParts(benchmark::State& state) {
  for (auto _ : state) {
    for (const std::string& u : Uris()) {
      UriUriA uri;
      const char* error = nullptr;
      if (uriParseSingleUriA(&uri, u.c_str(), &error) != URI_SUCCESS) continue;
      std::string parts = Range(uri.scheme) + Range(uri.userInfo) + Range(uri.hostText) +
                          Range(uri.portText);
      for (UriPathSegmentA* s = uri.pathHead; s != nullptr; s = s->next) parts += Range(s->text);
      parts += Range(uri.query) + Range(uri.fragment);
      benchmark::DoNotOptimize(parts.data());
      uriFreeUriMembersA(&uri);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * Uris().size()));
}
BENCHMARK(BM_UriparserAllParts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

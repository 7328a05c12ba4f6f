// The device registry and INI files, each against a baseline in the same run:
//   BM_RegistryReadCall   RegistryQueryValue(key path, name) through its implementation entry
//                         in the loaded library: key path split, four keys walked, value read,
//                         DynamicValue built and handed to SetResult;
//   BM_SqliteRead         the same row read with one prepared SELECT on its own connection
//                         (key id known in advance): the floor of any SQLite-backed registry;
//   BM_RegistryWriteCall  RegistrySetValue(key path, name, integer) through its entry: one
//                         write transaction (BEGIN IMMEDIATE ... COMMIT) in WAL mode;
//   BM_SqliteWrite        the same UPDATE in its own transaction, same journal settings;
//   BM_ProfileReadCall    ProfileRead(section, key, default, file) on a 1,000-line INI file,
//                         through its entry (file read, code-page conversion, lookup rules);
//   BM_StringScan         reading the same file into a std::string and finding the key with
//                         std::string::find.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/bench_library.h"
#include "frame/call_context.h"
#include "host/vm_objects.h"

namespace {

const std::string& DeviceRoot() {
  static const std::string root = "/tmp/tq240-bench-registry-" + std::to_string(getpid());
  return root;
}

tqhost::LibrarySession& Session() {
  return tqbench::OpenedLibrary([] { setenv("TQ_DEVICE", DeviceRoot().c_str(), 1); });
}

tq::ImplementationEntry Entry(int id, int overload) {
  tqhost::LibrarySession& session = Session();
  return session.OverloadsOf(*session.FindRecord(id))[overload].entry;
}

const char16_t* const kKey = u"HKEY_LOCAL_MACHINE\\Software\\Bench\\Deep\\Key";
const char16_t* const kName = u"Value";

// Writes the benchmark's value once through the call, so every benchmark finds it.
void Prepare() {
  static bool done = [] {
    tq::CallContext context{};
    context.services = tqhost::Services();
    context.callWord = 1;
    const char16_t* key = kKey;
    void* create[1] = {&key};
    Session().Call(Entry(76, 0), context, create);
    int32_t n = 1;
    const char16_t* name = kName;
    void* set[3] = {&key, &name, &n};
    context.callWord = 3;
    Session().Call(Entry(72, 1), context, set);
    return true;
  }();
  (void)done;
}

struct RawStore {
  sqlite3* db = nullptr;
  sqlite3_stmt* read = nullptr;
  sqlite3_stmt* write = nullptr;
  long long key = 0;
};

RawStore& Raw() {
  static RawStore raw = [] {
    Prepare();
    RawStore r;
    sqlite3_open((DeviceRoot() + "/.device/registry.db").c_str(), &r.db);
    sqlite3_busy_timeout(r.db, 10000);
    sqlite3_exec(r.db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr,
                 nullptr);
    sqlite3_stmt* find = nullptr;
    sqlite3_prepare_v2(r.db, "SELECT key FROM vals WHERE name='Value'", -1, &find, nullptr);
    if (sqlite3_step(find) == SQLITE_ROW) r.key = sqlite3_column_int64(find, 0);
    sqlite3_finalize(find);
    sqlite3_prepare_v3(r.db, "SELECT type, data FROM vals WHERE key=?1 AND folded=?2", -1,
                       SQLITE_PREPARE_PERSISTENT, &r.read, nullptr);
    sqlite3_prepare_v3(r.db, "UPDATE vals SET type=4, data=?3 WHERE key=?1 AND folded=?2", -1,
                       SQLITE_PREPARE_PERSISTENT, &r.write, nullptr);
    return r;
  }();
  return raw;
}

void BM_RegistryReadCall(benchmark::State& state) {
  Prepare();
  tq::ImplementationEntry entry = Entry(71, 0);
  const char16_t* key = kKey;
  const char16_t* name = kName;
  void* args[2] = {&key, &name};
  tq::CallContext context{};
  context.services = tqhost::Services();
  context.callWord = 2;
  for (auto _ : state) {
    Session().Call(entry, context, args);
    benchmark::DoNotOptimize(tqhost::CurrentCall().result.integer);
  }
  if (tqhost::CurrentCall().result.valueType != 8) state.SkipWithError("the value was not read");
}
BENCHMARK(BM_RegistryReadCall);

void BM_SqliteRead(benchmark::State& state) {
  RawStore& raw = Raw();
  int64_t sum = 0;
  for (auto _ : state) {
    sqlite3_bind_int64(raw.read, 1, raw.key);
    sqlite3_bind_text(raw.read, 2, "value", 5, SQLITE_STATIC);
    if (sqlite3_step(raw.read) == SQLITE_ROW) {
      sum += sqlite3_column_int(raw.read, 0);
      benchmark::DoNotOptimize(sqlite3_column_blob(raw.read, 1));
    }
    sqlite3_reset(raw.read);
  }
  if (sum == 0) state.SkipWithError("the row was not found");
}
BENCHMARK(BM_SqliteRead);

void BM_RegistryWriteCall(benchmark::State& state) {
  Prepare();
  tq::ImplementationEntry entry = Entry(72, 1);
  const char16_t* key = kKey;
  const char16_t* name = kName;
  int32_t n = 0;
  void* args[3] = {&key, &name, &n};
  tq::CallContext context{};
  context.services = tqhost::Services();
  context.callWord = 3;
  for (auto _ : state) {
    ++n;
    Session().Call(entry, context, args);
  }
}
BENCHMARK(BM_RegistryWriteCall);

void BM_SqliteWrite(benchmark::State& state) {
  RawStore& raw = Raw();
  int32_t n = 0;
  for (auto _ : state) {
    ++n;
    sqlite3_exec(raw.db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_bind_int64(raw.write, 1, raw.key);
    sqlite3_bind_text(raw.write, 2, "value", 5, SQLITE_STATIC);
    sqlite3_bind_blob(raw.write, 3, &n, 4, SQLITE_STATIC);
    sqlite3_step(raw.write);
    sqlite3_reset(raw.write);
    sqlite3_exec(raw.db, "COMMIT", nullptr, nullptr, nullptr);
  }
}
BENCHMARK(BM_SqliteWrite);

const std::string& IniFile() {
  static const std::string path = [] {
    std::string text;
    for (int section = 0; section < 50; ++section) {
      text += "[Section" + std::to_string(section) + "]\r\n";
      for (int key = 0; key < 19; ++key)
        text += "Key" + std::to_string(key) + " = value " + std::to_string(section * 100 + key) +
                "\r\n";
    }
    std::filesystem::create_directories(DeviceRoot());
    std::ofstream(DeviceRoot() + "/bench.ini", std::ios::binary) << text;
    return DeviceRoot() + "/bench.ini";
  }();
  return path;
}

void BM_ProfileReadCall(benchmark::State& state) {
  IniFile();
  tq::ImplementationEntry entry = Entry(219, 3);
  const char16_t* section = u"Section40";
  const char16_t* key = u"Key18";
  const char16_t* fallback = u"";
  const char16_t* file = u"\\bench.ini";
  void* args[4] = {&section, &key, &fallback, &file};
  tq::CallContext context{};
  context.services = tqhost::Services();
  context.callWord = 4;
  for (auto _ : state) Session().Call(entry, context, args);
  if (tqhost::CurrentCall().result.text != u"value 4018") state.SkipWithError("not found");
}
BENCHMARK(BM_ProfileReadCall);

void BM_StringScan(benchmark::State& state) {
  const std::string& path = IniFile();
  std::string value;
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    const size_t section = text.find("[Section40]\r\n");
    const size_t key = text.find("\r\nKey18 =", section);
    const size_t start = text.find_first_not_of(' ', text.find('=', key) + 1);
    value = text.substr(start, text.find("\r\n", start) - start);
    benchmark::DoNotOptimize(value);
  }
  if (value != "value 4018") state.SkipWithError("not found");
}
BENCHMARK(BM_StringScan);

}  // namespace

BENCHMARK_MAIN();

// Helpers of the tests that run tq240: plain calls, JSON records, scripts, and a look at the
// registry's file with SQLite itself.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/tq240_process.h"

namespace regtest {

using tqhost::JsonValue;
using tqtest::Field;

// The plain output of `tq240 call ...` without its final newline; `status` receives the exit
// status when given, else a status other than 0 fails the test.
inline std::string Call(const std::vector<std::string>& words, int* status = nullptr,
                        std::string* err = nullptr) {
  std::vector<std::string> all = {"call"};
  all.insert(all.end(), words.begin(), words.end());
  const tqtest::Tq240Result r = tqtest::RunTq240(all);
  if (status != nullptr) {
    *status = r.exitStatus;
  } else {
    EXPECT_EQ(r.exitStatus, 0) << r.err;
  }
  if (err != nullptr) *err = r.err;
  return r.out.empty() ? r.out : r.out.substr(0, r.out.size() - 1);
}

inline std::vector<JsonValue> Script(const std::string& script) {
  return tqtest::ScriptRecords(script);
}

inline std::string StoreFile() {
  return tqtest::TestDeviceRoot() + "/.device/registry.db";
}

// "TYPE:HEX" of a stored value, looked up by its exact name; "" when absent.
inline std::string StoredValue(const std::string& name) {
  sqlite3* db = nullptr;
  std::string out;
  if (sqlite3_open_v2(StoreFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT type, hex(data) FROM vals WHERE name=?1", -1, &s, nullptr);
    sqlite3_bind_text(s, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(s) == SQLITE_ROW)
      out = std::to_string(sqlite3_column_int(s, 0)) + ":" +
            reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
  return out;
}

}  // namespace regtest

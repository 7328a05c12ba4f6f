// Helpers of the tests that run tq240: plain calls, the table runner of scripts, and a look at
// the registry's file with SQLite itself.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "tests/support/script_cases.h"

namespace regtest {

using tqhost::JsonValue;
using tqtest::Field;

// `tq240 call ...`, its output without the final newline.
inline tqtest::Tq240Result RunCall(const std::vector<std::string>& words) {
  std::vector<std::string> all = {"call"};
  all.insert(all.end(), words.begin(), words.end());
  tqtest::Tq240Result r = tqtest::RunTq240(all);
  if (!r.out.empty()) r.out.pop_back();
  return r;
}

// The plain output of `tq240 call ...`; a status other than 0 or a missing line end fails the
// test.
inline std::string Call(const std::vector<std::string>& words) {
  return tqtest::CallPlain(words);
}

// The plain output of a call that reports `error` on standard error with the exit status 1;
// with `error` "", a call that fails without an error id and exits with 0.
inline std::string CallWithError(const std::vector<std::string>& words, const std::string& error) {
  const tqtest::Tq240Result r = RunCall(words);
  EXPECT_EQ(r.exitStatus, error.empty() ? 0 : 1) << r.err;
  EXPECT_NE(r.err.find(error), std::string::npos) << r.err;
  return r.out;
}

// The cases' lines as one script, each record checked against its case.
inline std::vector<JsonValue> Cases(const std::vector<tqtest::ScriptCase>& cases) {
  return tqtest::RunScriptCases({}, cases);
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

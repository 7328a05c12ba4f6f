// The registry store's prepared statements and transactions, shared by the sources of the
// store (keys in registry_store.cpp, values in registry_store_values.cpp). Internal to the
// platform layer.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "platform/registry_store.h"
#include "platform/utf8.h"

namespace ce::registry {

// The slot of each prepared statement of a connection.
enum StatementSlot {
  kFindChild,
  kKeyRow,
  kInsertKey,
  kChildren,
  kChildAt,
  kDeleteKeyRow,
  kDeleteKeyValues,
  kFindValue,
  kUpdateValue,
  kInsertValue,
  kDeleteValue,
  kValueAt,
  kCountKeys,
  kCountValues,
  kDataVersion,
  kSlotCount
};

class Store::Statement {
 public:
  Statement(Store& store, int slot, const char* sql) : s_(store.Prepare(slot, sql)) {}
  ~Statement() {
    if (s_ != nullptr) {
      sqlite3_reset(s_);
      sqlite3_clear_bindings(s_);
    }
  }
  bool ok() const { return s_ != nullptr; }
  void Bind(int i, long long n) { sqlite3_bind_int64(s_, i, n); }
  void Bind(int i, const std::string& text) {
    sqlite3_bind_text(s_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void BindBlob(int i, std::string_view bytes) {
    sqlite3_bind_blob(s_, i, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
  }
  int Step() { return sqlite3_step(s_); }
  long long Integer(int column) { return sqlite3_column_int64(s_, column); }
  std::u16string Text(int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s_, column));
    return Utf8ToUtf16(
        {text != nullptr ? text : "", static_cast<size_t>(sqlite3_column_bytes(s_, column))});
  }
  std::string Blob(int column) {
    const void* data = sqlite3_column_blob(s_, column);
    return {static_cast<const char*>(data != nullptr ? data : ""),
            static_cast<size_t>(sqlite3_column_bytes(s_, column))};
  }

 private:
  sqlite3_stmt* s_;
};

// One write transaction: BEGIN IMMEDIATE (waiting out other writers through the busy
// timeout), rolled back unless committed.
class Store::Transaction {
 public:
  explicit Transaction(Store& store) : store_(store) {
    rc_ = sqlite3_exec(store_.db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    open_ = rc_ == SQLITE_OK;
  }
  ~Transaction() {
    if (open_) sqlite3_exec(store_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  int begun() const { return rc_; }
  DWORD Commit() {
    const int rc = sqlite3_exec(store_.db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return store_.Failure(rc);
    open_ = false;
    return ERROR_SUCCESS;
  }

 private:
  Store& store_;
  int rc_;
  bool open_;
};

}  // namespace ce::registry

// The device registry's store: keys and values kept in the SQLite file of the device root,
// shared at once by every process on the same root.
//
// Invariants: every operation is one SQLite transaction (writes take the write lock at once,
// BEGIN IMMEDIATE, and commit before returning), so a value reported written is in the file
// and a process killed at any moment leaves the store readable. Names are compared in simple
// Unicode case folding and kept as first written. Operations return device error codes:
// ERROR_FILE_NOT_FOUND (absent key or value), ERROR_KEY_DELETED (the key went away while
// open), ERROR_NO_MORE_ITEMS (index past the end), ERROR_ACCESS_DENIED (a protected key),
// ERROR_BADDB (the store is damaged, foreign or newer; the reason is reported once on
// standard error, naming the file).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_types.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ce::registry {

using KeyId = long long;

struct StoredValue {
  std::u16string name;
  DWORD type = 0;
  std::string data;  // exact bytes
};

struct KeyCounts {
  DWORD subKeys = 0;
  DWORD longestSubKey = 0;  // characters
  DWORD values = 0;
  DWORD longestValueName = 0;  // characters
  DWORD longestData = 0;       // bytes
};

// Simple case folding of a name, as the store compares it (UTF-8).
std::string FoldedName(std::u16string_view name);

// Splits "a\b\c" into its names; false when a name is empty or longer than 255 characters.
bool SplitSubKey(std::u16string_view path, std::vector<std::u16string_view>* names);

class Store {
 public:
  // The store of the device root in force, opened on first use (and again when a test changes
  // the root). Null with `error` set to ERROR_BADDB when it cannot be used.
  static Store* Current(DWORD* error);

  DWORD KeyExists(KeyId key);
  DWORD OpenPath(KeyId base, std::u16string_view path, KeyId* found);
  DWORD CreatePath(KeyId base, std::u16string_view path, KeyId* found, bool* created);
  DWORD DeleteSubKey(KeyId base, std::u16string_view path);

  DWORD QueryValue(KeyId key, std::u16string_view name, StoredValue* out);
  DWORD SetValue(KeyId key, std::u16string_view name, DWORD type, std::string_view data);
  DWORD DeleteValue(KeyId key, std::u16string_view name);

  DWORD EnumKey(KeyId key, DWORD index, std::u16string* name);
  DWORD EnumValue(KeyId key, DWORD index, StoredValue* out);
  DWORD Counts(KeyId key, KeyCounts* out);

  // The host path of the open file.
  const std::string& path() const { return path_; }

  Store(sqlite3* db, std::string path);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

 private:
  class Statement;
  class Transaction;
  sqlite3_stmt* Prepare(int slot, const char* sql);
  DWORD Failure(int sqliteCode);
  DWORD FindChild(KeyId parent, std::u16string_view name, KeyId* child);
  DWORD CheckKey(KeyId key, bool forWriting);
  DWORD DeleteTree(KeyId key);

  std::recursive_mutex mutex_;
  sqlite3* db_;
  std::string path_;
  std::vector<sqlite3_stmt*> statements_;
};

}  // namespace ce::registry

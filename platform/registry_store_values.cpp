// The registry store's values: reading, writing, deleting, enumerating and counting.
#include <algorithm>

#include "platform/registry_statements.h"

namespace ce::registry {

DWORD Store::QueryValue(KeyId key, std::u16string_view name, StoredValue* out) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement s(*this, kFindValue, "SELECT name, type, data FROM vals WHERE key=?1 AND folded=?2");
  if (!s.ok()) return Failure(sqlite3_errcode(db_));
  s.Bind(1, key);
  s.Bind(2, FoldedName(name));
  const int rc = s.Step();
  if (rc == SQLITE_ROW) {
    out->name = s.Text(0);
    out->type = static_cast<DWORD>(s.Integer(1));
    out->data = s.Blob(2);
    return ERROR_SUCCESS;
  }
  if (rc != SQLITE_DONE) return Failure(rc);
  // Absent: tell a missing value from a key deleted meanwhile.
  const DWORD e = CheckKey(key, false);
  return e != ERROR_SUCCESS ? e : ERROR_FILE_NOT_FOUND;
}

DWORD Store::SetValue(KeyId key, std::u16string_view name, DWORD type, std::string_view data) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Transaction t(*this);
  if (t.begun() != SQLITE_OK) return Failure(t.begun());
  if (DWORD e = CheckKey(key, true)) return e;
  const std::string folded = FoldedName(name);
  {
    Statement u(*this, kUpdateValue, "UPDATE vals SET type=?3, data=?4 WHERE key=?1 AND folded=?2");
    if (!u.ok()) return Failure(sqlite3_errcode(db_));
    u.Bind(1, key);
    u.Bind(2, folded);
    u.Bind(3, type);
    u.BindBlob(4, data);
    const int rc = u.Step();
    if (rc != SQLITE_DONE) return Failure(rc);
  }
  if (sqlite3_changes(db_) == 0) {
    Statement i(*this, kInsertValue,
                "INSERT INTO vals(key, name, folded, type, data) VALUES(?1,?2,?3,?4,?5)");
    if (!i.ok()) return Failure(sqlite3_errcode(db_));
    i.Bind(1, key);
    i.Bind(2, Utf16ToUtf8(name));
    i.Bind(3, folded);
    i.Bind(4, type);
    i.BindBlob(5, data);
    const int rc = i.Step();
    if (rc != SQLITE_DONE) return Failure(rc);
  }
  return t.Commit();
}

DWORD Store::DeleteValue(KeyId key, std::u16string_view name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Transaction t(*this);
  if (t.begun() != SQLITE_OK) return Failure(t.begun());
  if (DWORD e = CheckKey(key, true)) return e;
  Statement s(*this, kDeleteValue, "DELETE FROM vals WHERE key=?1 AND folded=?2");
  if (!s.ok()) return Failure(sqlite3_errcode(db_));
  s.Bind(1, key);
  s.Bind(2, FoldedName(name));
  const int rc = s.Step();
  if (rc != SQLITE_DONE) return Failure(rc);
  if (sqlite3_changes(db_) == 0) return ERROR_FILE_NOT_FOUND;
  return t.Commit();
}

DWORD Store::EnumValue(KeyId key, DWORD index, StoredValue* out) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement s(*this, kValueAt,
              "SELECT name, type, data FROM vals WHERE key=?1 ORDER BY id LIMIT 1 OFFSET ?2");
  if (!s.ok()) return Failure(sqlite3_errcode(db_));
  s.Bind(1, key);
  s.Bind(2, index);
  const int rc = s.Step();
  if (rc == SQLITE_ROW) {
    out->name = s.Text(0);
    out->type = static_cast<DWORD>(s.Integer(1));
    out->data = s.Blob(2);
    return ERROR_SUCCESS;
  }
  if (rc != SQLITE_DONE) return Failure(rc);
  const DWORD e = CheckKey(key, false);
  return e != ERROR_SUCCESS ? e : ERROR_NO_MORE_ITEMS;
}

DWORD Store::Counts(KeyId key, KeyCounts* out) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (DWORD e = CheckKey(key, false)) return e;
  // Lengths are counted in UTF-16 units on the device; the store holds UTF-8, so the names
  // are read and measured here.
  *out = KeyCounts{};
  {
    Statement s(*this, kCountKeys, "SELECT name FROM keys WHERE parent=?1");
    if (!s.ok()) return Failure(sqlite3_errcode(db_));
    s.Bind(1, key);
    int rc;
    while ((rc = s.Step()) == SQLITE_ROW) {
      ++out->subKeys;
      out->longestSubKey =
          std::max<DWORD>(out->longestSubKey, static_cast<DWORD>(s.Text(0).size()));
    }
    if (rc != SQLITE_DONE) return Failure(rc);
  }
  Statement s(*this, kCountValues, "SELECT name, length(data) FROM vals WHERE key=?1");
  if (!s.ok()) return Failure(sqlite3_errcode(db_));
  s.Bind(1, key);
  int rc;
  while ((rc = s.Step()) == SQLITE_ROW) {
    ++out->values;
    out->longestValueName =
        std::max<DWORD>(out->longestValueName, static_cast<DWORD>(s.Text(0).size()));
    out->longestData = std::max<DWORD>(out->longestData, static_cast<DWORD>(s.Integer(1)));
  }
  return rc == SQLITE_DONE ? ERROR_SUCCESS : Failure(rc);
}

}  // namespace ce::registry

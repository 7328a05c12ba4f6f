// The registry store over SQLite: one connection per process and device root, prepared
// statements kept for the life of the connection, one transaction per operation. This file
// holds the connection and the keys; registry_store_values.cpp the values.
#include "platform/registry_store.h"

#include <sqlite3.h>
#include <unicode/uchar.h>

#include <cstdio>
#include <memory>

#include "platform/device_config.h"
#include "platform/device_path.h"
#include "platform/registry_schema.h"
#include "platform/registry_statements.h"
#include "platform/utf8.h"

namespace ce::registry {
namespace {

constexpr size_t kLongestName = 255;

std::mutex gCurrentMutex;
std::unique_ptr<Store> gCurrent;
std::string gCurrentRoot;
std::string gReportedProblem;

void ReportOnce(const std::string& problem) {
  if (problem == gReportedProblem) return;
  gReportedProblem = problem;
  std::fprintf(stderr, "tq240: %s\n", problem.c_str());
}

}  // namespace

std::string FoldedName(std::u16string_view name) {
  std::string out;
  out.reserve(name.size());
  while (!name.empty() && name.front() < 0x80) {  // ASCII: the common case, without ICU
    const char16_t c = name.front();
    out.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c));
    name.remove_prefix(1);
  }
  while (!name.empty()) {
    const Utf16Step step = DecodeUtf16(name);
    AppendUtf8(static_cast<char32_t>(
                   u_foldCase(static_cast<UChar32>(step.codePoint), U_FOLD_CASE_DEFAULT)),
               &out);
    name.remove_prefix(step.length);
  }
  return out;
}

bool SplitSubKey(std::u16string_view path, std::vector<std::u16string_view>* names) {
  names->clear();
  if (path.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t end = path.find(u'\\', start);
    const std::u16string_view name = path.substr(
        start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
    if (name.empty() || name.size() > kLongestName) return false;
    names->push_back(name);
    if (end == std::u16string_view::npos) return true;
    start = end + 1;
  }
}

// A prepared statement borrowed for one use: bound, stepped, then reset on scope exit.
Store::Store(sqlite3* db, std::string path)
    : db_(db), path_(std::move(path)), statements_(kSlotCount, nullptr) {}

Store::~Store() {
  for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
  sqlite3_close_v2(db_);
}

Store* Store::Current(DWORD* error) {
  const std::string root = DeviceRoot();
  std::lock_guard<std::mutex> lock(gCurrentMutex);
  if (gCurrent != nullptr && gCurrentRoot == root) return gCurrent.get();
  gCurrent.reset();
  OpenedStore opened = OpenStore(root);
  if (opened.db == nullptr) {
    ReportOnce(opened.problem);
    *error = ERROR_BADDB;
    return nullptr;
  }
  gCurrent = std::make_unique<Store>(opened.db, StorePath(root));
  gCurrentRoot = root;
  return gCurrent.get();
}

sqlite3_stmt* Store::Prepare(int slot, const char* sql) {
  if (statements_[slot] == nullptr &&
      sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statements_[slot], nullptr) !=
          SQLITE_OK) {
    statements_[slot] = nullptr;
  }
  return statements_[slot];
}

DWORD Store::Failure(int sqliteCode) {
  switch (sqliteCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return ERROR_BUSY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return ERROR_ACCESS_DENIED;
    case SQLITE_FULL:
      return ERROR_DISK_FULL;
    case SQLITE_NOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_TOOBIG:
      return ERROR_INVALID_PARAMETER;
    default:
      ReportOnce("registry store " + path_ + " is damaged (" + sqlite3_errmsg(db_) + ")");
      return ERROR_BADDB;
  }
}

DWORD Store::FindChild(KeyId parent, std::u16string_view name, KeyId* child) {
  Statement s(*this, kFindChild, "SELECT id FROM keys WHERE parent=?1 AND folded=?2");
  if (!s.ok()) return Failure(sqlite3_errcode(db_));
  s.Bind(1, parent);
  s.Bind(2, FoldedName(name));
  const int rc = s.Step();
  if (rc == SQLITE_ROW) {
    *child = s.Integer(0);
    return ERROR_SUCCESS;
  }
  return rc == SQLITE_DONE ? ERROR_FILE_NOT_FOUND : Failure(rc);
}

DWORD Store::CheckKey(KeyId key, bool forWriting) {
  Statement s(*this, kKeyRow, "SELECT flags FROM keys WHERE id=?1");
  if (!s.ok()) return Failure(sqlite3_errcode(db_));
  s.Bind(1, key);
  const int rc = s.Step();
  if (rc == SQLITE_DONE) return ERROR_KEY_DELETED;
  if (rc != SQLITE_ROW) return Failure(rc);
  return forWriting && (s.Integer(0) & 1) != 0 ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

DWORD Store::KeyExists(KeyId key) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return CheckKey(key, false);
}

bool Store::PathCacheValid() {
  Statement s(*this, kDataVersion, "PRAGMA data_version");
  const long long version = s.ok() && s.Step() == SQLITE_ROW ? s.Integer(0) : -1;
  const bool valid = version != -1 && version == cacheVersion_;
  if (!valid) pathCache_.clear();
  cacheVersion_ = version;
  return valid;
}

DWORD Store::OpenPath(KeyId base, std::u16string_view path, KeyId* found) {
  std::vector<std::u16string_view> names;
  if (!SplitSubKey(path, &names)) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::string cacheKey = std::to_string(base) + '\\' + FoldedName(path);
  if (PathCacheValid()) {
    auto hit = pathCache_.find(cacheKey);
    if (hit != pathCache_.end()) {
      *found = hit->second;
      return ERROR_SUCCESS;
    }
  }
  if (DWORD e = CheckKey(base, false)) return e;
  KeyId key = base;
  for (std::u16string_view name : names)
    if (DWORD e = FindChild(key, name, &key)) return e;
  pathCache_.emplace(std::move(cacheKey), key);
  *found = key;
  return ERROR_SUCCESS;
}

DWORD Store::CreatePath(KeyId base, std::u16string_view path, KeyId* found, bool* created) {
  std::vector<std::u16string_view> names;
  if (!SplitSubKey(path, &names)) return ERROR_INVALID_PARAMETER;
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Transaction t(*this);
  if (t.begun() != SQLITE_OK) return Failure(t.begun());
  if (DWORD e = CheckKey(base, false)) return e;
  KeyId key = base;
  *created = false;
  for (std::u16string_view name : names) {
    KeyId child = 0;
    const DWORD e = FindChild(key, name, &child);
    if (e == ERROR_FILE_NOT_FOUND) {
      if (DWORD w = CheckKey(key, true)) return w;
      Statement s(*this, kInsertKey, "INSERT INTO keys(parent, name, folded) VALUES(?1,?2,?3)");
      if (!s.ok()) return Failure(sqlite3_errcode(db_));
      s.Bind(1, key);
      s.Bind(2, Utf16ToUtf8(name));
      s.Bind(3, FoldedName(name));
      const int rc = s.Step();
      if (rc != SQLITE_DONE) return Failure(rc);
      child = sqlite3_last_insert_rowid(db_);
      *created = true;
    } else if (e != ERROR_SUCCESS) {
      return e;
    }
    key = child;
  }
  if (DWORD e = t.Commit()) return e;
  *found = key;
  return ERROR_SUCCESS;
}

DWORD Store::DeleteTree(KeyId key) {
  if (DWORD e = CheckKey(key, true)) return e;
  std::vector<KeyId> children;
  {
    Statement s(*this, kChildren, "SELECT id FROM keys WHERE parent=?1");
    if (!s.ok()) return Failure(sqlite3_errcode(db_));
    s.Bind(1, key);
    int rc;
    while ((rc = s.Step()) == SQLITE_ROW) children.push_back(s.Integer(0));
    if (rc != SQLITE_DONE) return Failure(rc);
  }
  for (KeyId child : children)
    if (DWORD e = DeleteTree(child)) return e;
  Statement values(*this, kDeleteKeyValues, "DELETE FROM vals WHERE key=?1");
  Statement row(*this, kDeleteKeyRow, "DELETE FROM keys WHERE id=?1");
  if (!values.ok() || !row.ok()) return Failure(sqlite3_errcode(db_));
  values.Bind(1, key);
  row.Bind(1, key);
  int rc = values.Step();
  if (rc == SQLITE_DONE) rc = row.Step();
  return rc == SQLITE_DONE ? ERROR_SUCCESS : Failure(rc);
}

DWORD Store::DeleteSubKey(KeyId base, std::u16string_view path) {
  std::vector<std::u16string_view> names;
  if (!SplitSubKey(path, &names)) return ERROR_INVALID_PARAMETER;
  if (names.empty()) return ERROR_ACCESS_DENIED;  // a key cannot delete itself this way
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Transaction t(*this);
  if (t.begun() != SQLITE_OK) return Failure(t.begun());
  if (DWORD e = CheckKey(base, false)) return e;
  KeyId key = base, parent = base;
  for (std::u16string_view name : names) {
    parent = key;
    if (DWORD e = FindChild(parent, name, &key)) return e;
  }
  if (DWORD e = CheckKey(parent, true)) return e;
  if (DWORD e = DeleteTree(key)) return e;
  pathCache_.clear();
  return t.Commit();
}

DWORD Store::EnumKey(KeyId key, DWORD index, std::u16string* name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement s(*this, kChildAt,
              "SELECT name FROM keys WHERE parent=?1 ORDER BY id LIMIT 1 OFFSET ?2");
  if (!s.ok()) return Failure(sqlite3_errcode(db_));
  s.Bind(1, key);
  s.Bind(2, index);
  const int rc = s.Step();
  if (rc == SQLITE_ROW) {
    *name = s.Text(0);
    return ERROR_SUCCESS;
  }
  if (rc != SQLITE_DONE) return Failure(rc);
  const DWORD e = CheckKey(key, false);
  return e != ERROR_SUCCESS ? e : ERROR_NO_MORE_ITEMS;
}

}  // namespace ce::registry

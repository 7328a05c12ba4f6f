// The registry store's schema (version 1) and the opening checks.
//
//   keys(id, parent, name, folded, flags): one row per key. The four roots have ids 1..4 and
//     parent 0. `name` is the key's name as first written (UTF-8); `folded` the same name in
//     simple Unicode case folding, unique among siblings, so that lookups ignore case while
//     enumeration shows the spelling the key was created with. `flags` bit 0 marks a key the
//     device protects: writing its values, adding or removing its subkeys is refused with
//     ERROR_ACCESS_DENIED (the simulation's way to exercise that path).
//   vals(id, key, name, folded, type, data): one row per value; `type` is the registry type
//     number, `data` the exact bytes. Enumeration follows the row id, that is the order in
//     which values were first written (an overwrite keeps the row).
//   PRAGMA application_id tells the store apart from foreign SQLite files; PRAGMA
//   user_version holds the schema version.
#include "platform/registry_schema.h"

#include <sys/stat.h>

#include <cerrno>

namespace ce::registry {
namespace {

constexpr int kSchemaVersion = 1;
constexpr int kApplicationId = 0x54513234;  // "TQ24"

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER NOT NULL,
  name TEXT NOT NULL,
  folded TEXT NOT NULL,
  flags INTEGER NOT NULL DEFAULT 0,
  UNIQUE(parent, folded));
CREATE TABLE IF NOT EXISTS vals(
  id INTEGER PRIMARY KEY,
  key INTEGER NOT NULL,
  name TEXT NOT NULL,
  folded TEXT NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  UNIQUE(key, folded));
INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES
  (1, 0, 'HKEY_CLASSES_ROOT', 'hkey_classes_root'),
  (2, 0, 'HKEY_CURRENT_USER', 'hkey_current_user'),
  (3, 0, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine'),
  (4, 0, 'HKEY_USERS', 'hkey_users');
)sql";

int PragmaInt(sqlite3* db, const char* pragma, int* value) {
  sqlite3_stmt* statement = nullptr;
  int rc = sqlite3_prepare_v2(db, pragma, -1, &statement, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(statement);
    *value = rc == SQLITE_ROW ? sqlite3_column_int(statement, 0) : 0;
    rc = rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
  }
  sqlite3_finalize(statement);
  return rc;
}

OpenedStore Refuse(sqlite3* db, const std::string& path, const std::string& why) {
  if (db != nullptr) sqlite3_close_v2(db);
  return {nullptr, "registry store " + path + ": " + why};
}

std::string SqliteWhy(sqlite3* db, int rc) {
  const char* text = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  return std::string(text != nullptr ? text : sqlite3_errstr(rc));
}

}  // namespace

int SchemaVersion() {
  return kSchemaVersion;
}

std::string StorePath(const std::string& deviceRoot) {
  return deviceRoot + "/.device/registry.db";
}

OpenedStore OpenStore(const std::string& deviceRoot) {
  const std::string folder = deviceRoot + "/.device";
  const std::string path = StorePath(deviceRoot);
  if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
    return Refuse(nullptr, path, "its folder cannot be created");
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(path.c_str(), &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) return Refuse(db, path, "cannot be opened (" + SqliteWhy(db, rc) + ")");
  sqlite3_busy_timeout(db, 10000);
  sqlite3_extended_result_codes(db, 0);
  int applicationId = 0, version = 0;
  rc = PragmaInt(db, "PRAGMA application_id", &applicationId);
  if (rc == SQLITE_OK) rc = PragmaInt(db, "PRAGMA user_version", &version);
  if (rc != SQLITE_OK)
    return Refuse(db, path, "is damaged or not a registry store (" + SqliteWhy(db, rc) + ")");
  if (applicationId == 0 && version == 0) {
    // A new file, or an SQLite file that is not ours: only an empty one may become the store.
    int tables = 0;
    rc = PragmaInt(db, "SELECT count(*) FROM sqlite_master", &tables);
    if (rc != SQLITE_OK || tables != 0)
      return Refuse(db, path, "is an SQLite database of another program, not a registry store");
  } else if (applicationId != kApplicationId) {
    return Refuse(db, path, "is an SQLite database of another program, not a registry store");
  } else if (version > kSchemaVersion) {
    return Refuse(db, path,
                  "was written by a newer version (schema " + std::to_string(version) +
                      "; this build reads schema " + std::to_string(kSchemaVersion) +
                      " and older)");
  }
  char* message = nullptr;
  std::string setup = "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; BEGIN IMMEDIATE;";
  setup += kSchema;
  setup += "PRAGMA application_id=" + std::to_string(kApplicationId) + ";";
  setup += "PRAGMA user_version=" + std::to_string(kSchemaVersion) + "; COMMIT;";
  rc = sqlite3_exec(db, setup.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::string why = message != nullptr ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    return Refuse(db, path, "cannot be prepared (" + why + ")");
  }
  return {db, {}};
}

}  // namespace ce::registry

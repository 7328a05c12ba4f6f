// The registry's file: where it lives, what it refuses (damaged, foreign or newer files) and
// the protected keys of the simulation.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/registry.h"
#include "platform/registry_schema.h"
#include "tests/platform/device_fixture.h"

namespace ce {
namespace {

class RegistryFile : public testing::DeviceTest {
 public:
  std::string StoreFile() { return root_ + "/.device/registry.db"; }
  void Prepare() { std::filesystem::create_directories(root_ + "/.device"); }
  void Sql(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(StoreFile().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
  }
  // The code of creating a key, and what went to standard error.
  std::pair<LONG, std::string> TryCreate() {
    ::testing::internal::CaptureStderr();
    HKEY key = nullptr;
    const LONG code =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    if (key != nullptr) RegCloseKey(key);
    return {code, ::testing::internal::GetCapturedStderr()};
  }
};

TEST_F(RegistryFile, LivesInTheDeviceFolderInWalMode) {
  ASSERT_EQ(TryCreate().first, ERROR_SUCCESS);
  ASSERT_TRUE(std::filesystem::exists(StoreFile()));
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(StoreFile().c_str(), &db), SQLITE_OK);
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &s, nullptr);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)), "wal");
  sqlite3_finalize(s);
  sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &s, nullptr);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(s, 0), registry::SchemaVersion());
  sqlite3_finalize(s);
  sqlite3_close(db);
}

TEST_F(RegistryFile, RefusesFilesItCannotUse) {
  struct Case {
    const char* what;
    std::function<void(RegistryFile&)> make;
    const char* says;
  };
  const Case cases[] = {
      {"garbage", [](RegistryFile& t) { std::ofstream(t.StoreFile()) << std::string(4096, 'x'); },
       "damaged or not a registry store"},
      {"foreign", [](RegistryFile& t) { t.Sql("CREATE TABLE songs(title TEXT)"); },
       "another program"},
      {"newer",
       [](RegistryFile& t) {
         t.Sql("PRAGMA application_id=1414607412; PRAGMA user_version=99; CREATE TABLE x(y)");
       },
       "newer version (schema 99"},
  };
  for (const Case& c : cases) {
    Configure("TQ_DEVICE", (workDir_ + "/" + c.what).c_str());
    root_ = workDir_ + "/" + c.what;
    Prepare();
    c.make(*this);
    const auto [code, err] = TryCreate();
    EXPECT_EQ(code, ERROR_BADDB) << c.what;
    EXPECT_NE(err.find(StoreFile()), std::string::npos) << err;
    EXPECT_NE(err.find(c.says), std::string::npos) << err;
  }
}

TEST_F(RegistryFile, ProtectedKeysRefuseWrites) {
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Locked", 0, nullptr, 0, 0, nullptr, &key, nullptr), 0);
  Sql("UPDATE keys SET flags=1 WHERE name='Locked'");
  const DWORD n = 1;
  EXPECT_EQ(RegSetValueExW(key, u"v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), 4),
            ERROR_ACCESS_DENIED);
  HKEY child = nullptr;
  EXPECT_EQ(RegCreateKeyExW(key, u"Child", 0, nullptr, 0, 0, nullptr, &child, nullptr),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Locked"), ERROR_ACCESS_DENIED);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

}  // namespace
}  // namespace ce

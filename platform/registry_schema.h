// The layout of the device registry's SQLite store ("<device root>/.device/registry.db") and
// how a connection to it is opened and checked.
//
// Invariants: the schema text and its version number live in registry_schema.cpp and nowhere
// else. A file whose application id is not the registry's, or whose schema version is newer
// than this build's, is refused with a message that names the file; it is never changed.
// Connections run in WAL mode with a busy timeout, so concurrent processes wait for each other
// instead of failing.
#pragma once

#include <sqlite3.h>

#include <string>

namespace ce::registry {

// The schema version this build writes and reads.
int SchemaVersion();

// The host path of the store for a device root.
std::string StorePath(const std::string& deviceRoot);

// An open, checked connection, or the reason there is none (one sentence naming the file).
struct OpenedStore {
  sqlite3* db = nullptr;
  std::string problem;
};

// Opens the store of `deviceRoot`, creating the folder, the file and the schema when absent.
OpenedStore OpenStore(const std::string& deviceRoot);

// The key ids of the four predefined roots (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE, HKEY_USERS), created with the schema.
inline constexpr long long kClassesRootId = 1;
inline constexpr long long kCurrentUserId = 2;
inline constexpr long long kLocalMachineId = 3;
inline constexpr long long kUsersId = 4;

}  // namespace ce::registry

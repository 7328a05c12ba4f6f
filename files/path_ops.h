// Path arithmetic on device paths: full paths, relative paths, splitting, and the name check
// of the file functions.
//
// Invariants: paths are UTF-16 and at most 260 characters; "\" separates (and "/" where a
// function says so). Nothing here touches the file system.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

inline constexpr size_t kMaxPath = 260;

// The full path: a path beginning with "\" or containing ":" as it stands, anything else
// after the running application's folder; then "\..\" removes the level before it and "\.\"
// collapses. Returns the length; when it exceeds `capacity` nothing is written to `out`.
size_t FullPath(std::u16string_view path, size_t capacity, std::u16string* out);

// The path relative to `reference` ("..\" per level climbed, ".\" when none); nullopt when
// the volumes differ or the result is longer than 260 characters.
std::optional<std::u16string> RelativePath(std::u16string_view path, std::u16string_view reference);

struct SplitPathParts {
  std::u16string prefix;     // "C:" or "\\server\share", else empty
  std::u16string directory;  // up to and including the last separator
  std::u16string name;       // without the extension
  std::u16string extension;  // from the last "." of the name on
};
SplitPathParts SplitPath(std::u16string_view path);

// The name check of the file functions: a path that is not empty and is absolute (begins
// with "\" or "/", or ends with ":").
bool PassesNameCheck(std::u16string_view path);

// The folder of the running application (the device path of its executable, from TQ_APP).
std::u16string ApplicationDirectory();

// Whether a path holds one of the characters a name cannot hold besides the separators and
// the drive colon (* ? " < > |).
bool HasReservedCharacter(std::u16string_view path);

}  // namespace tq

// The file family's workers: copies (single files, and wildcard or folder copies through a
// walk that reports each file to the application's procedure), renames, folder creation and
// removal, and documents opened with their associated program.
//
// Invariants: every path is a device path handled by the platform's file calls, so nothing
// outside the device root is touched. Failures raise the family's error ids or leave the
// platform's code at level 2, as each function says; results are the family's defaults.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tq {

struct ComponentProxy;

// Called for each file of a multi-file copy with (source, destination) after it is copied;
// false stops the walk.
using CopyProcedure = std::function<bool(const std::u16string& source, const std::u16string& destination)>;

inline constexpr int32_t kCopyRecurse = 1;

// `procedure` may be empty (a multi-file copy then raises 80065). `finalDestination`, when
// not null, receives the destination of a single-file copy.
bool CopyFiles(ComponentProxy* proxy, std::u16string_view source, std::u16string_view destination,
               int32_t options, const CopyProcedure& procedure, std::u16string* finalDestination);

bool RenameFile(ComponentProxy* proxy, std::u16string_view source, std::u16string_view destination);

// Creates every missing level; 1 created, 0 existed already, -1 failed (level 2 set).
int32_t MakeDirectory(ComponentProxy* proxy, std::u16string_view path);

inline constexpr int32_t kRemoveContent = 1;
inline constexpr int32_t kRemoveReadOnly = 8;
inline constexpr int32_t kRemoveThroughShell = 0x100;
bool RemoveDirectory(ComponentProxy* proxy, std::u16string_view path, int32_t options);

// Opens a document with the program associated with it; false with the error of the shell's
// result when there is none.
bool OpenDocument(ComponentProxy* proxy, std::u16string_view path, std::u16string_view verb);

// Creates the folder of `path` (everything before its last separator) with all its levels.
bool CreateParentLevels(std::u16string_view path);

}  // namespace tq

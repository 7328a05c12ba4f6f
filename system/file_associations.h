// File associations: the registry keys that make a program open files of an extension, under
// the classes key of the current user (scope other than 1) or of the machine (scope 1).
//
// Keys, for the root R, the extension E (".abc") and the program identifier
// P = "Tarvex/autogen-ext" + E: R\E with P as default value, R\P, and
// R\P\shell\open\command with the command as default value.
// Invariants: an extension must begin with "." (else 81851) and be at most 182 characters
// (else 81850), and nothing is changed for a refused one; a failed creation or removal raises
// 81852.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "system/registry_values.h"

namespace tq {

struct ComponentProxy;

inline constexpr int32_t kMachineScope = 1;

// The classes root of a scope ("HKEY_CURRENT_USER\Software\Classes\" ...).
std::u16string_view AssociationRoot(int32_t scope);
std::u16string AssociationProgramId(std::u16string_view extension);

bool CreateFileAssociation(ComponentProxy* proxy, std::u16string_view extension,
                           std::u16string_view command, int32_t scope);
bool DeleteFileAssociation(ComponentProxy* proxy, std::u16string_view extension, int32_t scope);
// The registered open command (read with the success flag); `read` false when there is none.
RegistryData FileAssociationCommand(ComponentProxy* proxy, std::u16string_view extension,
                                    int32_t scope);

}  // namespace tq

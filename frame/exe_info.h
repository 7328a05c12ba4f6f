// ExeInfo: information about the running executable or a given program file, chosen by a key
// in French or English ("NOM"/"NAME", "REPERTOIRE"/"DIRECTORY", "VERSION", "VERSION4N",
// "MODE", "SOCIETE"/"COMPANY", "COPYRIGHT", "DESCRIPTION", "LANCEMENT", "BOOT"); any other key
// names a string of the file's version resource.
//
// Invariants: never raises; whatever cannot be read gives the empty text. The key is matched
// after every "é" became "E" and the whole key was upper-cased.
#pragma once

#include <string>
#include <string_view>

namespace tq {

// `file` may be null or empty: the running executable.
std::u16string ExeInfo(std::u16string_view key, const char16_t* file);

// The kind of a program image from its bytes: "DOS", "16", "32", "64" or empty.
std::u16string ExecutableMode(std::string_view firstBytes, std::string_view headerBytes);

}  // namespace tq

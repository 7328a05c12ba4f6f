// The INI text rules of the profile engine, on the file's bytes (8-bit text in the device's
// ANSI code page): finding sections and keys, listing, and the edits a write makes.
//
// Format: lines end with CR LF (a lone CR or LF is part of the line); a section header is a
// line beginning with "[" and holding "]"; a comment begins with ";"; an entry holds "=" and
// is written as key, " = ", value, CR LF. Reading and writing match differently:
//   reading: leading white space of a line is ignored; sections and keys compare without
//     regard to (ASCII) case; a section ends at the next header.
//   writing: lines are taken as they stand; sections and keys compare exactly; a section ends
//     at a line beginning with "[", CR or LF (so a blank line ends it).
// A key matches a line that begins with it, is longer than it, and whose character behind it
// is not a letter or digit. Everything the rules do not touch (comments, unknown lines,
// spacing, line ends) is kept byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tq {

// The file after writing: `value` under `key` in `section` (replacing the key's first entry,
// or inserted at the section's end, or appended with a new header); without a value, the key's
// entry removed; without a key, the section's lines removed (its header stays).
std::string EditProfileText(std::string_view text, std::string_view section,
                            std::optional<std::string_view> key,
                            std::optional<std::string_view> value);

// What a read finds: without a section, every section name followed by CR LF; with a section
// and a key, the key's value; with a section only, every key of the section followed by CR LF.
// nullopt when the section or key is not there or the section has no entry to list (the
// caller then gives the default).
std::optional<std::string> ReadProfileText(std::string_view text,
                                           std::optional<std::string_view> section,
                                           std::optional<std::string_view> key);

}  // namespace tq

// Persistent-parameter names and values as the store writes them: a name is a path whose last
// part names the value and the rest its group; INI sections and values are escaped.
#pragma once

#include <string>
#include <string_view>

namespace tq {

struct ParameterName {
  std::u16string group;  // may be empty
  std::u16string value;
};

// "." and "/" become "\"; the name splits at its last "\".
ParameterName SplitParameterName(std::u16string_view name);

// The INI section of a group: a leading "\" dropped, empty -> "Global", and every "\", " ",
// "-" and tab -> "_".
std::u16string ParameterSection(std::u16string_view group);

// INI value text: "\" -> "\\", LF -> "\n", CR -> "\r", tab -> "\t", space -> "\_"; and back
// ("\" before any other character stays with it).
std::u16string EscapeParameterText(std::u16string_view text);
std::u16string UnescapeParameterText(std::u16string_view text);

// The registry key path of a group under a location: location + "\" + group (a location
// ending with "\" is joined directly), doubled backslashes collapsed; the location itself for
// an empty group.
std::u16string ParameterGroupKey(std::u16string_view location, std::u16string_view group);

}  // namespace tq

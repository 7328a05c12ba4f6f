// File-name masks as the device matches them: "*" stands for any run of characters, "?" for
// any one character, letters compare without regard to case. A mask ending in ".*" also
// matches names without a dot ("*.*" matches every name, "a.*" matches "a").
//
// Invariants: the match runs in O(mask x name) steps whatever the input (no backtracking
// explosion); an empty mask matches nothing.
#pragma once

#include <string_view>

namespace ce {

bool MatchesFileMask(std::u16string_view mask, std::u16string_view name);
bool HasWildcards(std::u16string_view text);

}  // namespace ce

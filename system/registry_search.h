// The resumable text search through registry keys. A search position is the text the search
// returns and accepts back: root name, tab, key sub-path, then (when present) tab and value
// name, tab and value data. Feeding each result back walks on to the following matches in a
// depth-first order: the values of a key, then its subkeys, then its next sibling, then the
// siblings of its parents.
//
// Invariants: the search only reads; it ends with an empty result when nothing more matches,
// when the walk reaches the root, or when a key cannot be opened.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

namespace search_option {
inline constexpr int32_t kSubKeyNames = 1;
inline constexpr int32_t kValueNames = 2;
inline constexpr int32_t kValueData = 4;  // values of type REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ
inline constexpr int32_t kDescend = 8;
inline constexpr int32_t kWholeWords = 16;
inline constexpr int32_t kDefault = 15;
}  // namespace search_option

std::u16string RegistrySearch(std::u16string_view position, std::u16string_view text,
                              int32_t options);

// Whether `text` occurs in `subject` without regard to case; with whole words, an occurrence
// counts only when the characters around it (where there are any) are not letters or digits.
bool SearchMatches(std::u16string_view subject, std::u16string_view text, bool wholeWords);

}  // namespace tq

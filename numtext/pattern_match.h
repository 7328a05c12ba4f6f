// MatchRegex and MatchFileLineRegex: a text matched as a whole against a pattern, and the
// distribution of its captured groups over the caller's variables.
//
// Invariants: an empty pattern means ".*". A pattern the engine refuses is traced (a line in
// the error state's diagnostics with the engine's error code) and matches nothing; it never
// raises an error. A match stopped by the time bound is traced too and counts as no match.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "numtext/regex_matcher.h"

namespace tq {

struct CXError;

inline constexpr size_t kMaximumCaptureVariables = 128;

// Compiles `pattern` the way MatchRegex does (with backslash escapes in lists when the pattern
// holds both '\' and ']', retried without them when that fails) or, with `plainLists`, the way
// MatchFileLineRegex does. Failures are traced on `errorState` (which may be null).
void CompileForMatch(RegexMatcher& matcher, std::u16string_view pattern, bool plainLists,
                     CXError* errorState);

// Matches and traces a stopped match; true when the whole text matched.
bool MatchForCall(RegexMatcher& matcher, std::u16string_view text, CXError* errorState);

// Hands group i's text to assign(i, text) for i = 1 .. variableCount, stopping at the first
// group that did not take part (or when assign fails). Returns the function's result: true
// when no group beyond the last variable took part in the match.
bool DistributeGroups(const RegexMatcher& matcher, std::u16string_view text,
                      size_t variableCount,
                      const std::function<bool(size_t, std::u16string_view)>& assign);

}  // namespace tq

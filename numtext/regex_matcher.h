// RegexMatcher: the wrapper through which the pattern-matching functions and the URI parser
// use the GNU regular-expression engine. Texts cross into the engine as code page 1252, one
// byte per UTF-16 unit (units outside the page become '?'), so that the engine's byte offsets
// are character positions of the caller's text.
//
// Invariants: a matcher that did not compile matches nothing. After MatchWhole, the
// registers describe the last match attempt (all -1 when it failed); group 0 is the whole
// match.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "numtext/bounded_match.h"
#include "numtext/compiled_pattern.h"

namespace tq {

// One byte of code page 1252 per unit; '?' for units the page lacks.
std::string NarrowTo1252(std::u16string_view text);

class RegexMatcher {
 public:
  // 0 when compiled, -1 when the engine refused the pattern (see engineError()).
  int Compile(std::u16string_view pattern, bool backslashEscapesInLists);
  int engineError() const { return engineError_; }
  bool compiled() const { return pattern_ != nullptr && pattern_->ok(); }

  // An anchored match at offset 0 that must cover the whole text.
  bool MatchWhole(std::u16string_view text);
  bool timedOut() const { return registers_.timedOut; }

  size_t groupCount() const { return compiled() ? pattern_->groupCount() : 0; }
  // Offsets of group i (0 = whole match) in the last match; nullopt when it did not take part.
  std::optional<std::pair<size_t, size_t>> group(size_t i) const;

 private:
  std::shared_ptr<const CompiledPattern> pattern_;
  int engineError_ = 0;
  MatchRegisters registers_;
};

}  // namespace tq

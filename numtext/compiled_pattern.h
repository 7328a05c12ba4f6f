// Patterns compiled by the GNU regular-expression engine, and the small cache that keeps the
// most recently used ones, so that a loop that matches line after line against one pattern
// compiles it once.
//
// Invariants: a CompiledPattern is immutable once built and may be matched from several
// threads at once (the engine locks its own matching state). The cache holds at most
// kPatternCacheSize patterns, keyed by the exact pattern bytes and syntax bits; a failed
// compilation is cached too, so that it gives the same error code. Patterns heavier than
// kRegexCompileWeightLimit are refused without asking the engine, with the engine's own
// "too big" error, because compiling them takes the engine seconds to minutes.
#pragma once

#include <regex.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "numtext/regex_cost.h"

namespace tq {

// The syntax bits of the matcher: character classes, '.' matching newline, intervals, and
// '{ }', '( )', '|' as operators without backslash; a lone ')' is ordinary.
inline constexpr unsigned long kRegexSyntax = RE_CHAR_CLASSES | RE_DOT_NEWLINE | RE_INTERVALS |
                                              RE_NO_BK_BRACES | RE_NO_BK_PARENS | RE_NO_BK_VBAR |
                                              RE_UNMATCHED_RIGHT_PAREN_ORD;
static_assert(kRegexSyntax == 176708);
inline constexpr unsigned long kRegexSyntaxEscapesInLists =
    kRegexSyntax | RE_BACKSLASH_ESCAPE_IN_LISTS;

inline constexpr uint64_t kRegexCompileWeightLimit = 4096;
inline constexpr size_t kPatternCacheSize = 8;

class CompiledPattern {
 public:
  CompiledPattern(std::string source, unsigned long syntax);
  ~CompiledPattern();
  CompiledPattern(const CompiledPattern&) = delete;
  CompiledPattern& operator=(const CompiledPattern&) = delete;

  bool ok() const { return error_ == 0; }
  int error() const { return error_; }  // the engine's error code (REG_...), 0 when compiled
  const std::string& source() const { return source_; }
  unsigned long syntax() const { return syntax_; }
  const RegexCost& cost() const { return cost_; }
  size_t groupCount() const { return buffer_.re_nsub; }
  // The engine's compiled program (matching takes it non-const).
  re_pattern_buffer* buffer() const { return &buffer_; }

 private:
  std::string source_;
  unsigned long syntax_;
  RegexCost cost_;
  int error_ = 0;
  mutable re_pattern_buffer buffer_{};
};

// The compiled form of `pattern` (code page 1252 bytes) with `syntax`, from the cache or
// freshly compiled.
std::shared_ptr<const CompiledPattern> AcquirePattern(std::string_view pattern,
                                                      unsigned long syntax);

// Compiles without the cache (the match watchdog's helper process uses it).
std::unique_ptr<CompiledPattern> CompileUncached(std::string_view pattern, unsigned long syntax);

}  // namespace tq

// The anchored match of a compiled pattern against a subject, with a bound on its time.
//
// Matching with the GNU engine takes time polynomial in the subject's length for patterns
// without back-references; with back-references (or with heavy patterns on long subjects) it
// can take hours. A match whose cost (pattern weight x subject length) is at most
// kInProcessMatchCost, and that uses no back-reference, runs in the calling thread. Any other
// runs in a helper process (a fork of this one, which compiles the pattern afresh and sends
// its registers back through a pipe); after kMatchTimeLimitMs the helper is killed and the
// match counts as failed, with `timedOut` set.
//
// Invariants: the registers hold groupCount + 1 pairs of byte offsets; -1 marks a group that
// did not take part. `length` is the engine's answer: the match length, -1 no match, -2 an
// internal failure of the engine.
#pragma once

#include <string_view>
#include <vector>

#include "numtext/compiled_pattern.h"

namespace tq {

inline constexpr uint64_t kInProcessMatchCost = uint64_t{1} << 22;
inline constexpr int kMatchTimeLimitMs = 2000;

struct MatchRegisters {
  int length = -1;
  bool timedOut = false;
  std::vector<int> starts;
  std::vector<int> ends;
};

MatchRegisters MatchAtStart(const CompiledPattern& pattern, std::string_view subject);

}  // namespace tq

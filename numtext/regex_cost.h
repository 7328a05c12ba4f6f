// What a pattern may cost the GNU regular-expression engine, read from the pattern's text
// before it is compiled: its weight (the number of pattern atoms once every interval "{m,n}" and
// every "+" is expanded, which is what the engine builds and walks) and whether it uses
// back-references, which make the engine's matching time exponential.
//
// Invariants: the scan reads the pattern as the matcher's syntax does ('(', ')', '|', '{', '}'
// are operators without backslash; bracket expressions with or without backslash escapes);
// it never fails: text that the engine will refuse still gets a weight. Weights saturate
// instead of overflowing.
#pragma once

#include <cstdint>
#include <string_view>

namespace tq {

struct RegexCost {
  uint64_t weight = 0;
  bool backReferences = false;
};

RegexCost EstimateRegexCost(std::string_view pattern, bool backslashEscapesInLists);

}  // namespace tq

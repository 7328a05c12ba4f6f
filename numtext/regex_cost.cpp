// One pass over the pattern with a stack of open groups. Each group keeps the weight of its
// contents and the weight of its last atom, which an interval multiplies.
#include "numtext/regex_cost.h"

#include <algorithm>
#include <vector>

namespace tq {
namespace {

constexpr uint64_t kSaturated = uint64_t{1} << 48;
constexpr uint64_t kDuplicateMax = 0x7fff;  // the engine's largest interval bound

uint64_t Add(uint64_t a, uint64_t b) { return std::min(kSaturated, a + b); }
uint64_t Multiply(uint64_t a, uint64_t b) {
  return b != 0 && a > kSaturated / b ? kSaturated : a * b;
}

// Copies of an atom that is itself repeated ("(a*){1,100}", "a?+") cost the engine far more
// than copies of a plain atom: every copy adds empty paths that its closure computations walk
// again. They count this many times.
constexpr uint64_t kRepeatedCopyFactor = 8;

struct Group {
  uint64_t weight = 0;
  uint64_t lastAtom = 0;       // weight of the last atom, 0 when there is none to repeat
  bool lastRepeated = false;   // the last atom carries a repetition operator
  bool holdsRepetition = false;
};

// Expands the group's last atom to `count` copies.
void Repeat(Group& g, uint64_t count) {
  const uint64_t factor = g.lastRepeated ? kRepeatedCopyFactor : 1;
  const uint64_t expanded = Multiply(Multiply(g.lastAtom, count), factor);
  g.weight = Add(g.weight, expanded > g.lastAtom ? expanded - g.lastAtom : 0);
  g.lastAtom = std::max(expanded, g.lastAtom);
  g.lastRepeated = true;
  g.holdsRepetition = true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads "{m}", "{m,}", "{,n}" or "{m,n}" at `i` (which holds '{'); returns the largest count
// the interval allows, or 0 when the text is not an interval (then '{' stands for itself).
uint64_t ReadInterval(std::string_view p, size_t& i) {
  size_t j = i + 1;
  uint64_t low = 0, high = 0;
  bool haveLow = false, comma = false, haveHigh = false;
  for (; j < p.size() && IsDigit(p[j]); ++j) {
    low = std::min(kDuplicateMax, low * 10 + static_cast<uint64_t>(p[j] - '0'));
    haveLow = true;
  }
  if (j < p.size() && p[j] == ',') {
    comma = true;
    for (++j; j < p.size() && IsDigit(p[j]); ++j) {
      high = std::min(kDuplicateMax, high * 10 + static_cast<uint64_t>(p[j] - '0'));
      haveHigh = true;
    }
  }
  if (j >= p.size() || p[j] != '}' || (!haveLow && !haveHigh)) return 0;
  i = j;
  if (!comma) return std::max<uint64_t>(low, 1);
  return haveHigh ? std::max<uint64_t>({low, high, 1}) : low + 1;
}

// Skips a bracket expression starting at `i` ('['); leaves `i` on its closing ']' (or at the
// end of an unterminated one).
void SkipBracket(std::string_view p, size_t& i, bool escapes) {
  size_t j = i + 1;
  if (j < p.size() && p[j] == '^') ++j;
  if (j < p.size() && p[j] == ']') ++j;  // a leading ']' is a member
  while (j < p.size() && p[j] != ']') {
    if (p[j] == '[' && j + 1 < p.size() && (p[j + 1] == ':' || p[j + 1] == '.' || p[j + 1] == '=')) {
      const char kind = p[j + 1];
      size_t k = j + 2;
      while (k + 1 < p.size() && !(p[k] == kind && p[k + 1] == ']')) ++k;
      j = k + 1 < p.size() ? k + 2 : p.size();
      continue;
    }
    if (escapes && p[j] == '\\') ++j;
    ++j;
  }
  i = std::min(j, p.size());
}

}  // namespace

RegexCost EstimateRegexCost(std::string_view p, bool backslashEscapesInLists) {
  RegexCost cost;
  std::vector<Group> groups(1);
  auto atom = [&groups](uint64_t weight, bool repeated = false) {
    Group& g = groups.back();
    g.weight = Add(g.weight, weight);
    g.lastAtom = weight;
    g.lastRepeated = repeated;
    g.holdsRepetition = g.holdsRepetition || repeated;
  };
  for (size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    switch (c) {
      case '\\':
        if (i + 1 < p.size()) {
          ++i;
          if (p[i] >= '1' && p[i] <= '9') cost.backReferences = true;
        }
        atom(1);
        break;
      case '[':
        SkipBracket(p, i, backslashEscapesInLists);
        atom(1);
        break;
      case '(':
        groups.emplace_back();
        break;
      case ')':
        if (groups.size() > 1) {
          const uint64_t inner = Add(groups.back().weight, 1);
          const bool repeated = groups.back().holdsRepetition;
          groups.pop_back();
          atom(inner, repeated);
        } else {
          atom(1);  // an unmatched ')' is an ordinary character
        }
        break;
      case '{': {
        const uint64_t count = ReadInterval(p, i);
        if (count == 0 || groups.back().lastAtom == 0)
          atom(1);
        else
          Repeat(groups.back(), count);
        break;
      }
      case '+': {
        // The engine builds x+ as x x*: a second copy of the repeated atom (so a run of '+'
        // doubles it each time). With nothing to repeat, the character stands for itself.
        Group& g = groups.back();
        if (g.lastAtom == 0) {
          atom(1);
          break;
        }
        Repeat(g, 2);
        break;
      }
      case '*': case '?':
        if (groups.back().lastAtom == 0) {
          atom(1);
        } else {
          Group& g = groups.back();
          g.weight = Add(g.weight, 1);
          g.lastRepeated = true;
          g.holdsRepetition = true;
        }
        break;
      case '|': case '^':
        groups.back().weight = Add(groups.back().weight, 1);
        groups.back().lastAtom = 0;  // an operator here would stand for itself
        groups.back().lastRepeated = false;
        break;
      case '$':
        groups.back().weight = Add(groups.back().weight, 1);
        break;
      default:
        atom(1);
    }
  }
  while (groups.size() > 1) {
    const uint64_t inner = groups.back().weight;
    groups.pop_back();
    groups.back().weight = Add(groups.back().weight, inner);
  }
  cost.weight = groups.back().weight;
  return cost;
}

}  // namespace tq

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

struct Group {
  uint64_t weight = 0;
  uint64_t lastAtom = 0;
};

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
  auto atom = [&groups](uint64_t weight) {
    Group& g = groups.back();
    g.weight = Add(g.weight, weight);
    g.lastAtom = weight;
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
          groups.pop_back();
          atom(inner);
        } else {
          atom(1);  // an unmatched ')' is an ordinary character
        }
        break;
      case '{': {
        const uint64_t count = ReadInterval(p, i);
        if (count == 0) {
          atom(1);
        } else {
          Group& g = groups.back();
          const uint64_t extra = Multiply(g.lastAtom, count - 1);
          g.weight = Add(g.weight, extra);
          g.lastAtom = Add(g.lastAtom, extra);
        }
        break;
      }
      case '*': case '+': case '?': case '|': case '^': case '$':
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

// A pattern and a subject from arbitrary bytes (split at the first zero byte), compiled and
// matched as MatchRegex does: whatever the engine says, the registers stay inside the subject
// and the call ends within the match time limit. Patterns are kept short so that each input
// compiles quickly; the weight limit bounds the rest.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/text.h"
#include "numtext/pattern_match.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string all(reinterpret_cast<const char*>(data), size);
  const size_t split = all.find('\0');
  const std::string pattern = all.substr(0, split == std::string::npos ? all.size() : split);
  const std::string subject = split == std::string::npos ? std::string() : all.substr(split + 1);
  if (pattern.size() > 256) return 0;
  const std::u16string text = tq::Cp1252ToUtf16(subject);
  tq::RegexMatcher matcher;
  tq::CompileForMatch(matcher, tq::Cp1252ToUtf16(pattern), false, nullptr);
  const bool matched = tq::MatchForCall(matcher, text, nullptr);
  if (!matched) return 0;
  for (size_t i = 0; i <= matcher.groupCount(); ++i) {
    const auto g = matcher.group(i);
    if (g) Require(g->first <= g->second && g->second <= text.size());
  }
  size_t assigned = 0;
  tq::DistributeGroups(matcher, text, tq::kMaximumCaptureVariables,
                       [&](size_t, std::u16string_view group) {
                         Require(group.size() <= text.size());
                         ++assigned;
                         return true;
                       });
  Require(assigned <= tq::kMaximumCaptureVariables);
  return 0;
}

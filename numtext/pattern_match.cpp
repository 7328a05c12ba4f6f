// Traces use the text the device's library writes, in French, with the engine's code.
#include "numtext/pattern_match.h"

#include <string>

#include "frame/error_state.h"
#include "frame/text.h"

namespace tq {
namespace {

void Trace(CXError* errorState, const std::string& line) {
  if (errorState != nullptr) AddDiagnostic(errorState, Utf8ToUtf16(line));
}

}  // namespace

void CompileForMatch(RegexMatcher& matcher, std::u16string_view pattern, bool plainLists,
                     CXError* errorState) {
  if (pattern.empty()) pattern = u".*";
  const bool backslash = pattern.find(u'\\') != std::u16string_view::npos;
  const bool escapes = !plainLists && backslash && pattern.find(u']') != std::u16string_view::npos;
  int status = matcher.Compile(pattern, escapes);
  if (status != 0 && escapes && backslash) status = matcher.Compile(pattern, false);
  if (status != 0)
    Trace(errorState,
          "Valeur de retour d'analyse du format : " + std::to_string(matcher.engineError()));
}

bool MatchForCall(RegexMatcher& matcher, std::u16string_view text, CXError* errorState) {
  const bool matched = matcher.MatchWhole(text);
  if (matcher.timedOut())
    Trace(errorState, "Analyse du format interrompue apr\xc3\xa8s " +
                          std::to_string(kMatchTimeLimitMs) + " ms");
  return matched;
}

bool DistributeGroups(const RegexMatcher& matcher, std::u16string_view text,
                      size_t variableCount,
                      const std::function<bool(size_t, std::u16string_view)>& assign) {
  const size_t groups = matcher.groupCount();
  for (size_t i = 1; i <= variableCount && i <= groups; ++i) {
    const auto span = matcher.group(i);
    if (!span || span->second < span->first || span->second > text.size()) break;
    if (!assign(i, text.substr(span->first, span->second - span->first))) break;
  }
  for (size_t i = variableCount + 1; i <= groups; ++i)
    if (matcher.group(i)) return false;
  return true;
}

}  // namespace tq

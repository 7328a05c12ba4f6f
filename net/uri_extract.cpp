// The mask bits map to capture groups in table order; the expression is compiled once and
// kept by the pattern cache like any other.
#include "net/uri_extract.h"

#include "numtext/pattern_match.h"
#include "numtext/regex_matcher.h"

namespace tq {

const char16_t kUriExpression[] =
    u"^(([^:/@.?#]*):)?\\/?\\/?(([^:/@]*)?:?([^@]*)?@)?([^:/@?#]*)?(:([0-9]*))?"
    u"((\\/(.*\\/)*)?([^/.?#]+)?(\\.([^/?#]*))?)?(\\?([^#]*))?(#(.*))?$";

namespace {

struct PartGroup {
  int32_t bit;
  size_t group;
};

constexpr PartGroup kParts[] = {
    {uripart::kScheme, 2},    {uripart::kUser, 4},      {uripart::kPassword, 5},
    {uripart::kHost, 6},      {uripart::kPort, 8},      {uripart::kFolder, 10},
    {uripart::kFileName, 12}, {uripart::kExtension, 13}, {uripart::kQuery, 16},
    {uripart::kFragment, 18}};

}  // namespace

std::u16string UriExtract(std::u16string_view uri, int32_t mask, CXError* errorState) {
  std::u16string result;
  RegexMatcher matcher;
  CompileForMatch(matcher, kUriExpression, true, errorState);
  if (!MatchForCall(matcher, uri, errorState)) return result;
  for (const PartGroup& part : kParts) {
    if ((mask & part.bit) == 0) continue;
    const auto span = matcher.group(part.group);
    if (span && span->second > span->first && span->second <= uri.size())
      result.append(uri.substr(span->first, span->second - span->first));
  }
  return result;
}

}  // namespace tq

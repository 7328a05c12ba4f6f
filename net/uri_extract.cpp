// The mask bits map to capture groups in table order. The result is sized once before the
// parts are copied into it.
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

UriMatch MatchUriWithEngine(std::u16string_view uri, CXError* errorState) {
  UriMatch match;
  RegexMatcher matcher;
  CompileForMatch(matcher, kUriExpression, true, errorState);
  if (!MatchForCall(matcher, uri, errorState)) return match;
  match.matched = true;
  for (size_t i = 0; i <= kUriGroupCount; ++i) {
    if (const auto span = matcher.group(i))
      match.groups[i] = {static_cast<int64_t>(span->first), static_cast<int64_t>(span->second)};
  }
  return match;
}

std::u16string UriPartsText(std::u16string_view uri, const UriMatch& match, int32_t mask) {
  std::u16string result;
  if (!match.matched) return result;
  size_t length = 0;
  for (const PartGroup& part : kParts) {
    const UriSpan& span = match.groups[part.group];
    if ((mask & part.bit) != 0 && span.end > span.start) length += span.end - span.start;
  }
  result.reserve(length);
  for (const PartGroup& part : kParts) {
    const UriSpan& span = match.groups[part.group];
    if ((mask & part.bit) != 0 && span.end > span.start)
      result.append(uri.substr(span.start, span.end - span.start));
  }
  return result;
}

std::u16string UriExtract(std::u16string_view uri, int32_t mask) {
  if ((mask & 1023) == 0) return {};
  return UriPartsText(uri, ParseUriParts(uri), mask);
}

}  // namespace tq

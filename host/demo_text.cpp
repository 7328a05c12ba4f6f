// Each step is typed as a user would type it; variables written by MatchRegex are shown after
// the result.
#include "host/demo_text.h"

#include <cstdio>
#include <string>
#include <vector>

#include "host/demo_step.h"

namespace tqhost {
namespace {

const std::vector<DemoStep>& TextSteps() {
  static const std::vector<DemoStep> steps = {
      {"a buffer as hexadecimal text, two bytes per group (little-endian numbers)",
       {"BufferToHex", "x:0102030405", "2"}},
      {"the same in memory order (line-width bit 0x200)", {"BufferToHex", "x:0102030405", "2", "512"}},
      {"with a character column (grouping bit 0x100)",
       {"BufferToHex", "x:48656c6c6f2c20776f726c6421", "257"}},
      {"hexadecimal text back to a buffer", {"HexToBuffer", "0201 0403", "2"}},
      {"a group that is not hexadecimal raises 81833", {"HexToBuffer", "01 zz"}},
      {"a little-endian integer read from a buffer", {"BufferToInteger", "x:01020304"}},
      {"reading past the end raises 81838", {"BufferToInteger", "x:01020304", "1", "4"}},
      {"a single-precision real at an offset", {"BufferToReal", "x:ff0000c03f", "1"}},
      {"percent-encoding, general escapes", {"UrlEncode", "a b&c"}},
      {"component escapes (encoding 10)", {"UrlEncode", "a b&c", "10"}},
      {"through UTF-8 (encoding 8)", {"UrlEncode", "d\xc3\xa9j\xc3\xa0", "8"}},
      {"percent-decoding: '+' is a space", {"UrlDecode", "a+b%41"}},
      {"a version-4 UUID", {"NewUuid"}},
      {"a braced GUID", {"GetGuid"}},
      {"64 random hexadecimal digits", {"GetGuid", "2"}},
      {"a pronounceable password", {"GeneratePassword", "10"}},
      {"a password from a character set", {"GeneratePassword", "12", "0123456789ABCDEF"}},
      {"a pattern must match the whole text", {"MatchRegex", "abc", "b"}},
      {"captured groups go to the variables passed by reference",
       {"MatchRegex", "2024-05-03", "([0-9]{4})-([0-9]{2})-([0-9]{2})", "&year", "&month", "&day"}},
      {"an invalid pattern is traced, not raised", {"MatchRegex", "abc", "a(b"}},
      {"URI parts: host and port", {"UriExtract", "ftp://u:p@h:8080/a/b/page.html?x=1#top", "24"}},
      {"file name and extension", {"UriExtract", "http://h/archive.tar.gz", "192"}},
  };
  return steps;
}

}  // namespace

void RunTextDemo(CallRunner& runner) {
  std::printf("\n== Numbers and text: encodings, identifiers, passwords, patterns, URIs\n");
  RunDemoSteps(runner, TextSteps());
}

}  // namespace tqhost

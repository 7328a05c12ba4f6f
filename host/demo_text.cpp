// Each step is typed as a user would type it; variables written by MatchRegex are shown after
// the result.
#include "host/demo_text.h"

#include <cstdio>
#include <string>
#include <vector>

#include "host/host_value.h"

namespace tqhost {
namespace {

struct TextStep {
  const char* note;
  std::vector<std::string> words;  // function, then arguments
};

const std::vector<TextStep>& TextSteps() {
  static const std::vector<TextStep> steps = {
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

std::string Typed(const std::vector<std::string>& words) {
  std::string out = "tq240 call";
  for (const std::string& w : words)
    out += " " + (w.find_first_of(" &()?#") != std::string::npos ? "'" + w + "'" : w);
  return out;
}

}  // namespace

void RunTextDemo(CallRunner& runner) {
  std::printf("\n== Numbers and text: encodings, identifiers, passwords, patterns, URIs\n");
  for (const TextStep& step : TextSteps()) {
    std::printf("\n# %s\n$ %s\n", step.note, Typed(step.words).c_str());
    std::string error;
    const std::vector<std::string> args(step.words.begin() + 1, step.words.end());
    const std::optional<CallRecord> record = runner.Run(step.words[0], args, &error);
    if (!record) {
      std::printf("(not available: %s)\n", error.c_str());
      continue;
    }
    if (record->result && record->result->kind != ValueKind::kNone)
      std::printf("%s\n", RenderPlain(*record->result).c_str());
    for (const auto& [name, value] : record->variables)
      std::printf("%s = %s\n", name.c_str(), RenderPlain(value).c_str());
    if (record->error.level != 1)
      std::printf("error %u (level %u): %s\n", record->error.id, record->error.level,
                  ToUtf8(record->error.message).c_str());
    else if (!record->error.diagnostics.empty())
      std::printf("trace: %s\n", ToUtf8(record->error.diagnostics).c_str());
  }
}

}  // namespace tqhost

// Numbers-and-text functions as the VM sees them, through tq240: every overload of the
// encodings, passwords and pattern matching, their errors in the three message languages.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/support/tq240_process.h"

namespace {

using tqhost::JsonValue;
using tqtest::Field;
using tqtest::CallJson;
using tqtest::CallPlain;
using tqtest::ScriptRecords;

struct Case {
  std::vector<std::string> call;
  std::string result;
};

TEST(PrintedResults, EncodingsUrlsAndWholeTextMatches) {
  const Case cases[] = {
      {{"BufferToHex", "x:010203"}, "01 02 03"},
      {{"BufferToHex", "x:010203", "2"}, "0201 03"},
      {{"BufferToHex", "x:010203", "2", "512"}, "0102 03"},
      {{"HexToBuffer", "0201"}, "0201"},
      {{"HexToBuffer", "0201", "2"}, "0102"},
      {{"HexToBuffer", "0201", "2", "512"}, "0201"},
      {{"BufferToInteger", "x:01020304"}, "67305985"},
      {{"BufferToInteger", "x:0102030405", "1"}, "84148994"},
      {{"BufferToInteger", "x:0102030405060708", "0", "8"}, "578437695752307201"},
      {{"BufferToReal", "x:0000803f"}, "1"},
      {{"BufferToReal", "x:000000000000f03f", "0", "8"}, "1"},
      {{"BufferToReal", "x:990000c03f", "1"}, "1.5"},
      {{"UriExtract", "ftp://u:p@h:8080/a/b/page.html?x=1#top", "9"}, "ftph"},
      {{"UrlEncode", "a b&c"}, "a%20b&c"},
      {{"UrlEncode", "a b&c", "10"}, "a b%26c"},
      {{"UrlEncode", "\xc3\xa9", "8"}, "%C3%A9"},
      {{"UrlEncode", "\xc3\xa9"}, "%E9"},  // eight-bit text in code page 1252
      {{"UrlDecode", "a%20b"}, "a b"},
      {{"UrlDecode", "%C3%A9", "9"}, "\xc3\xa9"},
      {{"MatchRegex", "abc", "a(b)c"}, "true"},
      {{"MatchRegex", "caf\xc3\xa9", "caf[\xc3\xa9\xc3\xa8]"}, "true"},
  };
  for (const Case& c : cases) EXPECT_EQ(CallPlain(c.call), c.result) << c.call[0] << " " << c.call[1];
}

TEST(Encodings, ErrorsInEachLanguage) {
  struct ErrorCase {
    std::vector<std::string> call;
    int id;
  };
  const ErrorCase cases[] = {
      {{"BufferToHex", "x:01", "3"}, 80700},
      {{"HexToBuffer", "01", "5"}, 80700},
      {{"HexToBuffer", "01 zz"}, 81833},
      {{"BufferToInteger", "x:01020304", "1", "4"}, 81838},
      {{"BufferToInteger", "x:01020304", "-1", "1"}, 81837},
      {{"BufferToInteger", "x:01020304", "0", "3"}, 80700},
      {{"BufferToReal", "x:01020304", "0", "2"}, 80700},
  };
  for (const char* lang : {"12", "9", "10"}) {
    for (const ErrorCase& c : cases) {
      std::vector<std::string> args(c.call.begin() + 1, c.call.end());
      const JsonValue r = CallJson({"--lang", lang}, c.call[0], args);
      EXPECT_EQ(Field(r, "error", "id").number, c.id) << c.call[0] << " lang " << lang;
      EXPECT_EQ(Field(r, "error", "level").number, 3);
      EXPECT_FALSE(Field(r, "error", "message").text.empty()) << c.call[0] << " " << lang;
    }
  }
  const JsonValue r = CallJson({"--lang", "9"}, "HexToBuffer", {"01 zz"});
  EXPECT_NE(Field(r, "error", "message").text.find("zz"), std::string::npos);
  EXPECT_EQ(Field(r, "result", "value").find("hex")->text, "");
}

TEST(Identifiers, GuidFormsAndRandomResults) {
  EXPECT_TRUE(std::regex_match(CallPlain({"GetGuid"}),
                               std::regex("\\{[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}\\}")));
  EXPECT_TRUE(std::regex_match(CallPlain({"GetGuid", "0"}), std::regex("[0-9a-f]{32}")));
  const JsonValue uuid = CallJson({}, "NewUuid", {});
  const JsonValue* hex = Field(uuid, "result", "value").find("hex");
  ASSERT_NE(hex, nullptr);
  ASSERT_EQ(hex->text.size(), 32u);
  EXPECT_EQ(Field(CallJson({}, "RandomBuffer", {}), "result", "value").find("hex")->text.size(),
            64u);
}

TEST(Passwords, LengthsSetsAndTheUndefinedError) {
  EXPECT_EQ(CallPlain({"GeneratePassword", "8"}).size(), 8u);
  EXPECT_TRUE(std::regex_match(CallPlain({"GeneratePassword", "5", "AB"}), std::regex("[AB]{5}")));
  const JsonValue r = CallJson({}, "GeneratePassword", {"-1"});
  EXPECT_EQ(Field(r, "error", "level").number, 3);
  EXPECT_NE(Field(r, "error", "diagnostics").text.find("81844"), std::string::npos);
  EXPECT_EQ(Field(r, "result", "value").text, "");
}

TEST(MatchRegex, AnInvalidPatternIsOnlyTraced) {
  const JsonValue bad = CallJson({}, "MatchRegex", {"abc", "a(b"});
  EXPECT_EQ(Field(bad, "result", "value").boolean, false);
  EXPECT_EQ(Field(bad, "error", "level").number, 1);
  EXPECT_NE(Field(bad, "error", "diagnostics").text.find("Valeur de retour d'analyse du format : 8"),
            std::string::npos);
}

TEST(MatchRegex, CapturesWrittenToVariables) {
  const JsonValue r = CallJson({}, "MatchRegex", {"2024-05-03", "([0-9]+)-([0-9]+)-([0-9]+)",
                                                  "&year", "&month", "&day"});
  const JsonValue& vars = Field(r, "variables");
  ASSERT_NE(vars.find("year"), nullptr);
  EXPECT_EQ(Field(r, "result", "value").boolean, true);
  EXPECT_EQ(vars.find("year")->text, "2024");
  EXPECT_EQ(vars.find("month")->text, "05");
  EXPECT_EQ(vars.find("day")->text, "03");
  const JsonValue fewer = CallJson({}, "MatchRegex", {"ab", "(a)(b)", "&x"});
  EXPECT_EQ(Field(fewer, "result", "value").boolean, false);  // group 2 had no variable
  EXPECT_EQ(Field(fewer, "variables").find("x")->text, "a");
}

TEST(MatchFileLineRegex, LinesOfAnOpenFile) {
  const std::vector<JsonValue> r = ScriptRecords(
      "h = FileCreate \"\\lines.txt\"\n"
      "FileWriteLine $h \"abc-123\"\n"
      "FileWriteLine $h \"zzz\"\n"
      "FileWriteLine $h \"q-1\"\n"
      "FileClose $h\n"
      "h = FileOpen \"\\lines.txt\"\n"
      "MatchFileLineRegex $h \"([a-z]+)-([0-9]+)\"\n"   // matches
      "MatchFileLineRegex $h \"([a-z]+)-([0-9]+)\"\n"   // no match, still true
      "MatchFileLineRegex $h \"(\"\n"                    // a line, but the pattern is invalid
      "MatchFileLineRegex $h \"\"\n"                     // end of file
      "MatchFileLineRegex i:99 \"\"\n"
      "MatchFileLineRegex i:1 \"\"\n");
  ASSERT_EQ(r.size(), 12u);
  EXPECT_EQ(Field(r[5], "result", "value").integer, 2);
  const bool expected[] = {true, true, false, false, false, false};
  for (size_t i = 0; i < 6; ++i)
    EXPECT_EQ(Field(r[6 + i], "result", "value").boolean, expected[i]) << "line " << 7 + i;
  EXPECT_EQ(Field(r[10], "error", "id").number, 80022);
  EXPECT_EQ(Field(r[11], "error", "id").number, 80022);
  EXPECT_EQ(Field(r[8], "error", "level").number, 1);
}

TEST(MatchFileLineRegex, CapturesAndTheEmptiedFirstVariable) {
  const std::vector<JsonValue> r = ScriptRecords(
      "h = FileCreate \"\\caps.txt\"\n"
      "FileWriteLine $h \"key=value\"\n"
      "FileWriteLine $h \"no equals sign\"\n"
      "FileClose $h\n"
      "h = FileOpen \"\\caps.txt\"\n"
      "MatchFileLineRegex $h \"([^=]*)=(.*)\" &k &v\n"
      "MatchFileLineRegex $h \"([^=]*)=(.*)\" &k &v\n");
  ASSERT_EQ(r.size(), 7u);
  EXPECT_EQ(Field(r[5], "variables").find("k")->text, "key");
  EXPECT_EQ(Field(r[5], "variables").find("v")->text, "value");
  EXPECT_EQ(Field(r[6], "result", "value").boolean, true);
  EXPECT_EQ(Field(r[6], "variables").find("k")->text, "");
}

}  // namespace

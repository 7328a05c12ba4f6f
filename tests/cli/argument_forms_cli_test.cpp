// tq240's argument forms and acceptance rules for the device families, and its output rules,
// through the process. The overloads used are the catalog's real signatures, answered by the
// test probe (tests/cli/probe): each probe entry shows what the VM handed over.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/cli/probe_support.h"
#include "tests/support/tq240_process.h"

namespace {

using tqhost::JsonValue;
using tqtest::CallJson;
using tqtest::Field;
using tqtest::RunTq240;
using tqtest::ScriptRecords;

class ArgumentForms : public tqtest::ProbeTest {};

TEST_F(ArgumentForms, VariableReferencesTakeAnyArgumentWithItsTypeCode) {
  struct Case {
    const char* argument;
    int64_t typeCode;
  };
  const Case cases[] = {{"plain", 16}, {"s:text", 16}, {"e:a\\tb", 16}, {"i:5", 8},
                        {"l:5", 9},    {"r:1.5", 12},  {"b:true", 1},   {"x:0102", 28},
                        {"&fresh", 16}};
  for (const Case& c : cases) {
    const JsonValue r = CallJson({}, "FileCreate", {c.argument});
    EXPECT_EQ(Field(r, "result", "value").integer, c.typeCode) << c.argument;
  }
}

TEST_F(ArgumentForms, AVariableStartsAsItsKeptValueAndIsWrittenBack) {
  const auto records = ScriptRecords(
      "FileCreate &t 1\n"
      "FileCreate &t 1\n"
      "n = SharedZoneWait 1 i:5\n"
      "FileCreate &count i:3\n");
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(Field(records[0], "variables", "t").text, "!");  // a new variable is empty text
  EXPECT_EQ(Field(records[1], "variables", "t").text, "!!");
  EXPECT_EQ(Field(records[3], "variables", "count").text, "!");
}

TEST_F(ArgumentForms, ABooleanWrittenByReferenceFillsItsVariable) {
  const JsonValue r = CallJson({}, "RegistryQueryValue", {"s:key", "i:5", "&found"});
  EXPECT_EQ(Field(r, "overload").integer, 3);
  EXPECT_TRUE(Field(r, "variables", "found").boolean);
  // A plain boolean still fills the parameter (nothing is reported back).
  const JsonValue plain = CallJson({}, "RegistryQueryValue", {"s:key", "i:5", "false"});
  EXPECT_TRUE(Field(plain, "variables").members.empty());
}

TEST_F(ArgumentForms, OnlyProceduresFillProcedureParameters) {
  EXPECT_EQ(Field(CallJson({}, "ListFiles", {"*.txt", "2"}), "overload").integer, 4);
  EXPECT_EQ(Field(CallJson({}, "ListFiles", {"*.txt", "i:2"}), "overload").integer, 4);
  EXPECT_EQ(Field(CallJson({}, "ListFiles", {"*.txt", "p:each"}), "overload").integer, 0);
  const tqtest::Tq240Result r = RunTq240({"call", "SharedZoneOpen", "z", "1", "2", "3", "4"});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_NE(r.err.find("no overload"), std::string::npos);
}

TEST_F(ArgumentForms, OnlyControlsFillControlParameters) {
  EXPECT_EQ(RunTq240({"call", "EmulateKeys", "5", "abc"}).exitStatus, 2);
  EXPECT_EQ(RunTq240({"call", "EmulateKeys", "s:ok", "abc"}).exitStatus, 2);
  EXPECT_EQ(RunTq240({"call", "EmulateKeys", "k:ok", "abc"}).exitStatus, 0);
  EXPECT_EQ(RunTq240({"call", "ListFiles", "x", "k:ok"}).exitStatus, 2);
  EXPECT_EQ(RunTq240({"call", "ListFiles", "x", "p:"}).exitStatus, 2);
}

TEST_F(ArgumentForms, OpenEndedOverloadsReachAndWriteExtraArguments) {
  const auto records = ScriptRecords(
      "FileCreate &kept 1\n"
      "MatchRegex text pattern &kept &fresh\n"
      "MatchRegex text pattern &kept 5 s:x\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_TRUE(Field(records[1], "result", "value").boolean);
  EXPECT_EQ(Field(records[1], "variables", "kept").text, "!!");
  EXPECT_EQ(Field(records[1], "variables", "fresh").text, "!");
  // Values that are not variables are read but cannot be written.
  EXPECT_FALSE(Field(records[2], "result", "value").boolean);
  EXPECT_EQ(Field(records[2], "variables", "kept").text, "!!!");
}

TEST_F(ArgumentForms, DynamicParametersTakeBuffers) {
  EXPECT_EQ(Field(CallJson({}, "NumberToString", {"x:00ff"}), "result", "value").integer, 28);
  EXPECT_EQ(Field(CallJson({}, "NumberToString", {"7"}), "result", "value").integer, 8);
  EXPECT_EQ(Field(CallJson({}, "NumberToString", {"r:7"}), "result", "value").integer, 12);
  EXPECT_EQ(RunTq240({"call", "NumberToString", "p:x"}).exitStatus, 2);
}

TEST_F(ArgumentForms, EightBitTextTravelsInCodePage1252) {
  struct Case {
    const char* argument;
    const char* hex;
  };
  const Case cases[] = {{"é€a", "e980" "61"}, {"s:日", "3f"}, {"e:\\u0152", "8c"}, {"", ""}};
  for (const Case& c : cases)
    EXPECT_EQ(Field(CallJson({}, "UrlEncode", {c.argument}), "result", "value").text, c.hex)
        << c.argument;
  EXPECT_EQ(RunTq240({"call", "UrlEncode", "i:5"}).exitStatus, 2);
}

TEST_F(ArgumentForms, DurationsTakeIntegersAsMilliseconds) {
  for (const char* ms : {"20", "i:20", "l:20"}) {
    const JsonValue r = CallJson({}, "SharedZoneWait", {"1", ms});
    EXPECT_EQ(Field(r, "result", "type").integer, 27) << ms;
    EXPECT_EQ(Field(r, "result", "value").integer, 20) << ms;
  }
  EXPECT_EQ(RunTq240({"call", "SharedZoneWait", "1", "r:2"}).exitStatus, 2);
}

TEST_F(ArgumentForms, EightBitResultsDecodeFromCodePage1252) {
  const JsonValue r = CallJson({}, "UrlDecode", {"41818d8f909de980"});
  EXPECT_EQ(Field(r, "result", "type").integer, 19);
  EXPECT_EQ(Field(r, "result", "value").text,
            "A\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d\xc3\xa9\xe2\x82\xac");
}

TEST_F(ArgumentForms, IdentifiersAndRandomBuffersShowAsHex) {
  const JsonValue uuid = CallJson({}, "NewUuid", {});
  EXPECT_EQ(Field(Field(uuid, "result", "value"), "hex").text, "000102030405060708090a0b0c0d0e0f");
  const JsonValue buffer = CallJson({}, "RandomBuffer", {});
  EXPECT_EQ(Field(Field(buffer, "result", "value"), "hex").text.size(), 64u);
}

TEST_F(ArgumentForms, DynamicResultsRenderByTheTypeTheyHold) {
  const JsonValue text = CallJson({}, "RegistryQueryValue", {"s:h\xc3\xa9", "i:110", "&f"});
  EXPECT_EQ(Field(text, "result", "value_type").integer, 110);
  EXPECT_EQ(Field(text, "result", "value").text, "h\xc3\xa9");
  const JsonValue bytes = CallJson({}, "RegistryQueryValue", {"s:h\xc3\xa9", "i:28", "&f"});
  EXPECT_EQ(Field(Field(bytes, "result", "value"), "hex").text, "6800e900");
  const JsonValue number = CallJson({}, "RegistryQueryValue", {"s:x", "i:5", "&f"});
  EXPECT_EQ(Field(number, "result", "value").integer, 1234567890123);
}

TEST_F(ArgumentForms, LineSeparatorsAreEscapedSoARecordStaysOneLine) {
  const tqtest::Tq240Result r =
      RunTq240({"--json", "call", "ListMax", "e:a\\u2028b\\u2029c\\u0085d\\ne"});
  ASSERT_EQ(r.exitStatus, 0);
  EXPECT_NE(r.out.find("a\\u2028b\\u2029c\\u0085d\\ne"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find('\n'), r.out.size() - 1);
}

TEST_F(ArgumentForms, TheStringModeIsAnOption) {
  EXPECT_EQ(RunTq240({"call", "ProcessCount"}).out, "0\n");
  EXPECT_EQ(RunTq240({"--string-mode", "2", "call", "ProcessCount"}).out, "2\n");
  setenv("TQ_STRING_MODE", "1", 1);
  EXPECT_EQ(RunTq240({"call", "ProcessCount"}).out, "1\n");
  EXPECT_EQ(RunTq240({"--string-mode=2", "call", "ProcessCount"}).out, "2\n");
  unsetenv("TQ_STRING_MODE");
  EXPECT_EQ(RunTq240({"--string-mode", "two", "call", "ProcessCount"}).exitStatus, 2);
}

}  // namespace

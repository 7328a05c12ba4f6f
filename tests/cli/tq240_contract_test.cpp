// tq240's own contract: commands, options, argument forms, script mode, exit statuses and the
// shape of its JSON output.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/tq240_process.h"

namespace {

using tqhost::JsonValue;
using tqtest::RunTq240;

TEST(Usage, ProblemsExitWithStatusTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"call", "NoSuchFunction"},
      {"call", "IsEven"},                 // no overload takes no argument
      {"call", "IsEven", "abc"},          // not an integer
      {"call", "IsEven", "s:4"},          // a forced text does not fit an integer
      {"call", "IsEven", "i:99999999999"},
      {"--lang", "x", "call", "IsEven", "2"},
      {"--clock", "2024-13-01T00:00:00", "call", "IsEven", "2"},
      {"frobnicate"},
      {"script", "/nonexistent/script.txt"},
      {"--settings", "/nonexistent/settings.json", "call", "IsEven", "2"},
      {"call", "16", "a", "b"},           // declared, never implemented
  };
  for (const auto& args : cases) {
    const tqtest::Tq240Result r = RunTq240(args);
    EXPECT_EQ(r.exitStatus, 2) << args[0] << " " << (args.size() > 1 ? args[1] : "");
    EXPECT_FALSE(r.err.empty());
  }
}

TEST(Call, JsonRecordHasEveryField) {
  const JsonValue r = tqtest::CallJson({}, "IsEven", {"i:-4"});
  for (const char* field : {"function", "name", "overload", "result", "error", "passback",
                            "variables"})
    EXPECT_NE(r.find(field), nullptr) << field;
  EXPECT_EQ(r.find("line"), nullptr);
  EXPECT_EQ(r.find("function")->integer, 147);
  EXPECT_EQ(r.find("name")->text, "IsEven");
  EXPECT_EQ(r.find("overload")->integer, 0);
  EXPECT_EQ(r.find("result")->find("type")->integer, 1);
  EXPECT_TRUE(r.find("result")->find("value")->boolean);
  const JsonValue* error = r.find("error");
  for (const char* field : {"level", "id", "message", "system_code", "system_message",
                            "diagnostics"})
    EXPECT_NE(error->find(field), nullptr) << field;
  EXPECT_EQ(error->find("level")->integer, 1);
}

TEST(Call, AFunctionWithoutResultPrintsNothing) {
  const tqtest::Tq240Result r = RunTq240({"call", "InitRandom", "5"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "");
  const JsonValue j = tqtest::CallJson({}, "InitRandom", {"5"});
  EXPECT_EQ(j.find("result")->kind, JsonValue::Kind::kNull);
}

TEST(Call, OptionsComeFromTheEnvironmentAndTheOptionWins) {
  setenv("TQ_LANG", "9", 1);
  const JsonValue english = tqtest::CallJson({}, "Random", {"i:0"});
  const JsonValue french = tqtest::CallJson({"--lang", "12"}, "Random", {"i:0"});
  unsetenv("TQ_LANG");
  EXPECT_NE(english.find("error")->find("message")->text,
            french.find("error")->find("message")->text);
}

TEST(Script, KeptValuesVariablesLinesAndComments) {
  const std::string script =
      "# a comment\n"
      "\n"
      "x = ListMax 'b c' \"a\" z\n"
      "ListMin $x 'b'\n"
      "IsEven 3\n";
  const std::vector<JsonValue> records = tqtest::ScriptRecords(script);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].find("line")->integer, 3);
  EXPECT_EQ(records[0].find("result")->find("value")->text, "z");
  EXPECT_EQ(records[1].find("line")->integer, 4);
  EXPECT_EQ(records[1].find("result")->find("value")->text, "b");
  EXPECT_EQ(records[2].find("line")->integer, 5);
}

TEST(Script, ABadLineIsReportedAndTheOthersStillRun) {
  const tqtest::Tq240Result r = RunTq240({"script"}, "IsEven 2\nNoSuch 1\nIsOdd 'open\nIsOdd 1\n");
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_NE(r.err.find("line 2"), std::string::npos);
  EXPECT_NE(r.err.find("line 3"), std::string::npos);
  EXPECT_EQ(tqtest::JsonRecords(r.out).size(), 2u);
}

TEST(Script, ReadsAFile) {
  const std::string path = tqtest::TestDeviceRoot() + "/script.txt";
  std::ofstream(path) << "IsOdd 1\n";
  const tqtest::Tq240Result r = RunTq240({"script", path});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(tqtest::JsonRecords(r.out).size(), 1u);
}

TEST(Functions, EveryRecordWithItsOverloads) {
  const tqtest::Tq240Result r = RunTq240({"functions", "--json"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  std::optional<JsonValue> list = tqhost::ParseJson(r.out);
  ASSERT_TRUE(list.has_value());
  ASSERT_EQ(list->elements.size(), 530u);
  size_t overloads = 0;
  for (const JsonValue& f : list->elements) {
    for (const JsonValue& o : f.find("overloads")->elements) {
      ++overloads;
      EXPECT_NE(o.find("result"), nullptr);
      EXPECT_NE(o.find("params"), nullptr);
      EXPECT_NE(o.find("flags"), nullptr);
      EXPECT_NE(o.find("implemented"), nullptr);
    }
  }
  EXPECT_EQ(overloads, 1160u);
  const JsonValue& shared = list->elements[340];  // function 341 uses 256's list
  EXPECT_EQ(shared.find("id")->integer, 341);
  EXPECT_EQ(shared.find("uses")->integer, 256);
  const JsonValue& isEven = list->elements[146];
  EXPECT_EQ(isEven.find("name")->text, "IsEven");
  EXPECT_TRUE(isEven.find("overloads")->elements[0].find("implemented")->boolean);
  EXPECT_EQ(list->elements[529].find("id")->integer, 1282);
}

TEST(Info, EveryQueryFromZeroTo33) {
  const tqtest::Tq240Result r = RunTq240({"info", "--json"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  std::optional<JsonValue> info = tqhost::ParseJson(r.out);
  ASSERT_TRUE(info.has_value());
  const JsonValue* q = info->find("queries");
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->members.size(), 34u);
  EXPECT_EQ(q->find("22")->integer, 529);  // the descriptor's words are read as they are
  EXPECT_EQ(q->find("21")->text, "address");
  EXPECT_EQ(q->find("33")->text, "address");
}

TEST(Demo, RunsToTheEnd) {
  const tqtest::Tq240Result r = RunTq240({"demo"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_NE(r.out.find("IsEven"), std::string::npos);
}

}  // namespace

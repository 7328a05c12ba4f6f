// The value utilities and the pass-back entries as the VM sees them, through tq240.
#include <gtest/gtest.h>

#include "tests/support/tq240_process.h"

namespace {

using tqhost::JsonValue;
using tqtest::Field;
using tqtest::CallJson;
using tqtest::CallPlain;
using tqtest::RunTq240;

TEST(Random, ResultsStayInTheirRange) {
  EXPECT_EQ(CallPlain({"Random", "i:1"}), "1");
  EXPECT_EQ(CallPlain({"Random", "7", "7"}), "7");
  const JsonValue unit = CallJson({}, "Random", {});
  EXPECT_EQ(Field(unit, "result", "type").integer, 31);
  EXPECT_EQ(Field(unit, "result", "value_type").integer, 12);
  const double x = Field(unit, "result", "value").number;
  EXPECT_GE(x, 0.0);
  EXPECT_LE(x, 1.0);
  const int n = std::stoi(CallPlain({"Random", "-5", "5"}));
  EXPECT_GE(n, -5);
  EXPECT_LE(n, 5);
}

TEST(Random, ErrorsCarryTheirIdLevelAndMessageInTheVMsLanguage) {
  const JsonValue french = CallJson({}, "Random", {"i:0"});
  EXPECT_EQ(Field(french, "error", "id").integer, 80260);
  EXPECT_EQ(Field(french, "error", "level").integer, 3);
  EXPECT_EQ(Field(french, "result", "value").integer, 0);
  const std::string frenchText = Field(french, "error", "message").text;
  const auto message = [](const char* language) {
    return Field(CallJson({"--lang", language}, "Random", {"i:0"}), "error", "message").text;
  };
  const std::string english = message("9");
  EXPECT_FALSE(frenchText.empty());
  EXPECT_NE(frenchText, english);
  EXPECT_NE(english, message("10"));
  EXPECT_EQ(message("4"), english);  // any other language uses the English texts
  const JsonValue bounds = CallJson({}, "Random", {"5", "1"});
  EXPECT_EQ(Field(bounds, "error", "id").integer, 80210);
  EXPECT_EQ(Field(bounds, "result", "value").integer, 0);
}

TEST(Random, APlainCallWithAnErrorPrintsTheErrorLineAndFails) {
  const tqtest::Tq240Result r = RunTq240({"--lang", "9", "call", "Random", "i:0"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.out, "0\n");
  EXPECT_EQ(r.err.rfind("error 80260: ", 0), 0u) << r.err;
}

TEST(Random, ASeedReplaysTheSameSequenceAcrossProcesses) {
  const std::string script = "InitRandom 1234\nRandom 1000000\nRandom 1000000\n";
  const tqtest::Tq240Result a = RunTq240({"script"}, script);
  const tqtest::Tq240Result b = RunTq240({"script"}, script);
  EXPECT_EQ(a.exitStatus, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
}

TEST(PrintedResults, ParityAndListExtremesOfTextsNumbersAndArrays) {
  struct Case {
    std::vector<std::string> args;
    const char* expected;
  };
  const Case cases[] = {
      {{"IsEven", "-4"}, "true"},
      {{"IsEven", "-3"}, "false"},
      {{"IsEven", "0"}, "true"},
      {{"IsOdd", "0"}, "false"},
      {{"IsOdd", "-2147483647"}, "true"},
      {{"isodd", "7"}, "true"},
      {{"147", "2"}, "true"},
      {{"ListMax", "b", "a", "c"}, "c"},
      {{"ListMin", "b", "a", "c"}, "a"},
      {{"ListMax", "2", "10"}, "2"},        // text form: '2' > '10'
      {{"ListMax", "r:2", "r:10"}, "10"},   // number form
      {{"ListMin", "r:2.5", "-1", "3"}, "-1"},
      {{"ListMax", "solo"}, "solo"},
      {{"ListMax", "j:[3, 1.5, 2]"}, "3"},
      {{"ListMin", "j:[3, 1.5, 2]"}, "1.5"},
      // A text element comes back as a dynamic value of type 28, which the VM shows as bytes.
      {{"ListMax", "j:[\"pear\", \"apple\"]"}, "7000650061007200"},
      {{"ListMax", "j:[]"}, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CallPlain(c.args), c.expected) << c.args[0] << " " << c.args[1];
}

TEST(ListExtremes, EqualValuesKeepTheFirst) {
  // Case-insensitive equality is not equality for the locale comparison; identical texts are.
  const JsonValue r = CallJson({}, "ListMin", {"same", "same", "same"});
  EXPECT_EQ(Field(r, "result", "value").text, "same");
  const JsonValue numbers = CallJson({}, "ListMax", {"r:1", "1.0", "1"});
  EXPECT_EQ(Field(numbers, "result", "value").number, 1.0);
}

TEST(ListExtremes, AnArrayElementThatIsNeitherNumberNorTextIsAnError) {
  const JsonValue r = CallJson({}, "ListMax", {"j:[1, true]"});
  EXPECT_EQ(Field(r, "error", "id").integer, 81861);
  EXPECT_EQ(Field(r, "result", "type").integer, 31);
}

TEST(NullResult, WritesAnEmptyTextOfType16) {
  const JsonValue r = CallJson({}, "NullResult", {"a", "b", "c"});
  EXPECT_EQ(Field(r, "result", "type").integer, 16);
  EXPECT_EQ(Field(r, "result", "value").text, "");
  EXPECT_EQ(Field(r, "error", "level").integer, 1);
}

TEST(PassBack, EveryEntryHandsItsRoutineBackToTheVM) {
  struct Case {
    const char* id;
    int routine;
    const char* args;
  };
  const Case table[] = {
      {"124", 5, "a b"},  {"125", 20, "a b"}, {"126", 12, "a"},   {"127", 0, "a b"},
      {"128", 2, "a b"},  {"129", 10, "a b c"}, {"130", 11, "a b"}, {"131", 22, "a b"},
      {"132", 24, "a"},   {"133", 7, "a b"},  {"134", 21, "a b"}, {"135", 18, "a"},
      {"136", 19, "a"},   {"137", 17, "a"},   {"138", 14, "a b"}, {"139", 15, "a"},
      {"140", 4, "a b"},  {"141", 9, "a b"},  {"142", 26, "a b"}, {"143", 25, "a"},
      {"144", 8, "a"},    {"145", 16, "a"},   {"146", 13, "a"},   {"157", 3, "a b c"},
      {"223", 6, "a b"},  {"285", 1, "a b"},  {"290", 23, "a b"}};
  std::string script;
  for (const Case& c : table) script += std::string(c.id) + " " + c.args + "\n";
  const std::vector<JsonValue> records = tqtest::ScriptRecords(script);
  ASSERT_EQ(records.size(), std::size(table));
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(Field(records[i], "passback", "status").integer, 42) << table[i].id;
    EXPECT_EQ(Field(records[i], "passback", "routine").integer, table[i].routine) << table[i].id;
    EXPECT_EQ(Field(records[i], "error", "level").integer, 0x40000010);
    EXPECT_EQ(Field(records[i], "result").kind, JsonValue::Kind::kNull);
  }
}

}  // namespace

// Procedures (p:NAME) and the calls the library makes to them, from the calling thread and
// from background threads; the form file and the VM's control objects (k:NAME); records
// written as soon as each line's call returns.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/cli/probe_support.h"
#include "tests/support/tq240_process.h"

namespace {

using tqhost::JsonValue;
using tqtest::CallJson;
using tqtest::Field;
using tqtest::RunTq240;
using tqtest::ScriptRecords;

class Procedures : public tqtest::ProbeTest {};

TEST_F(Procedures, CallsAreRecordedInOrderWithTheirArguments) {
  const JsonValue r = CallJson({}, "ListFiles", {"*.txt", "p:each"});
  EXPECT_EQ(Field(r, "result", "value").integer, 2);  // the procedure returns true
  const JsonValue& calls = Field(r, "procedure_calls");
  ASSERT_EQ(calls.elements.size(), 2u);
  EXPECT_EQ(Field(calls.elements[0], "procedure").text, "each");
  ASSERT_EQ(Field(calls.elements[1], "args").elements.size(), 2u);
  EXPECT_EQ(Field(calls.elements[1], "args").elements[0].text, "*.txt");
  EXPECT_EQ(Field(calls.elements[1], "args").elements[1].integer, 2);
}

TEST_F(Procedures, BackgroundCallsJoinTheLineRunningWhenTheyArrive) {
  const auto records = ScriptRecords(
      "SharedZoneOpen zone 3 50 0 p:notify\n"
      "SharedZoneWait 1 1500\n"
      "SharedZoneWait 1 0\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(Field(records[0], "result", "value").integer, 2);
  EXPECT_TRUE(Field(records[0], "procedure_calls").elements.empty());
  const JsonValue& calls = Field(records[1], "procedure_calls");
  ASSERT_EQ(calls.elements.size(), 3u);
  EXPECT_EQ(Field(calls.elements[2], "procedure").text, "notify");
  EXPECT_EQ(Field(calls.elements[2], "args").elements[0].text, "zone");
  EXPECT_EQ(Field(records[2], "procedure_calls").kind, JsonValue::Kind::kNull);
}

TEST_F(Procedures, CallsAfterTheLastLineGoToAClosingRecord) {
  const auto records = ScriptRecords("SharedZoneOpen late 2 200 0 p:bell\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(Field(records[1], "line").kind, JsonValue::Kind::kNull);
  ASSERT_EQ(Field(records[1], "procedure_calls").elements.size(), 2u);
  EXPECT_EQ(Field(Field(records[1], "procedure_calls").elements[0], "procedure").text, "bell");
}

class Controls : public tqtest::ProbeTest {
 protected:
  std::string WriteForm(const std::string& text) {
    const std::string path = tqtest::TestDeviceRoot() + "-form.json";
    std::ofstream(path) << text;
    return path;
  }
};

TEST_F(Controls, TheFormsControlsAnswerTheObjectInterface) {
  const std::string form = WriteForm(R"({
    "window": {"name": "Main", "title": "App", "x": 0, "y": 0, "width": 240, "height": 320},
    "controls": [{"name": "ok", "type": 5, "x": 10, "y": 20, "width": 30, "height": 40},
                 {"name": "list", "type": 56, "visible": false, "enabled": false, "state": 4,
                  "inner_type": 110}],
    "focus": "ok"})");
  struct Case {
    const char* control;
    const char* answer;
  };
  const Case cases[] = {
      {"k:ok", "ok|5|65552|11|0|10,20,30,40|0|0|7"},
      {"k:OK", "OK|5|65552|11|0|10,20,30,40|0|0|7"},
      {"k:list", "list|56|65568|00|4|0,0,0,0|110|0|7"},
      {"k:main", "main|1|65536|11|0|0,0,240,320|0|1|7"},
      {"k:nothing", "nothing|none"},
  };
  for (const Case& c : cases) {
    const JsonValue r = CallJson({"--form", form}, "EmulateKeys", {c.control, "keys"});
    EXPECT_EQ(Field(r, "result", "value").text, c.answer) << c.control;
  }
  setenv("TQ_FORM", form.c_str(), 1);
  EXPECT_EQ(Field(CallJson({}, "EmulateKeys", {"k:ok", "x"}), "result", "value").text.substr(0, 4),
            "ok|5");
  unsetenv("TQ_FORM");
}

TEST_F(Controls, WithoutAFormNoControlIsFound) {
  EXPECT_EQ(Field(CallJson({}, "EmulateKeys", {"k:ok", "x"}), "result", "value").text,
            "ok|none");
}

TEST_F(Controls, AMalformedFormIsAUsageProblemNamingTheMember) {
  struct Case {
    const char* text;
    const char* named;
  };
  const Case cases[] = {{R"({"controls": [{"name": "a", "type": "five"}]})", "controls[0].type"},
                        {R"({"window": {"colour": 1}})", "colour"},
                        {R"({"focus": 3})", "focus"},
                        {"{", "offset"}};
  for (const Case& c : cases) {
    const tqtest::Tq240Result r =
        RunTq240({"--form", WriteForm(c.text), "call", "EmulateKeys", "k:a", "x"});
    EXPECT_EQ(r.exitStatus, 2) << c.text;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
  }
  EXPECT_EQ(RunTq240({"--form", "/nonexistent/form.json", "call", "IsEven", "2"}).exitStatus, 2);
}

// Script mode writes each record before it reads the next line: a reader that waits for the
// record of line 1 before sending line 2 is answered.
TEST(ScriptOutput, EachRecordIsFlushedBeforeTheNextLineIsRead) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  const pid_t child = fork();
  if (child == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[1]);
    close(out[0]);
    setenv("TQ_DEVICE", (tqtest::TestDeviceRoot()).c_str(), 1);
    execl(std::getenv("TQ240"), "tq240", "script", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  auto readLine = [&]() {
    std::string line;
    char c;
    pollfd p{out[0], POLLIN, 0};
    while (poll(&p, 1, 10000) == 1 && read(out[0], &c, 1) == 1 && c != '\n') line += c;
    return line;
  };
  ASSERT_EQ(write(in[1], "IsEven 2\n", 9), 9);
  EXPECT_NE(readLine().find("\"line\": 1"), std::string::npos);
  ASSERT_EQ(write(in[1], "IsOdd 2\n", 8), 8);
  EXPECT_NE(readLine().find("\"line\": 2"), std::string::npos);
  close(in[1]);
  int status = 0;
  waitpid(child, &status, 0);
  close(out[0]);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace

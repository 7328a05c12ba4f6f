// LaunchProgram and LaunchProgramEx through tq240, with shell programs in the device root.
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/processes/script_session.h"
#include "tests/support/tq240_process.h"

namespace {

using tqtest::CallJson;
using tqtest::ReadDeviceFile;
using tqtest::TestDeviceRoot;
using tqtest::WriteProgram;

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteProgram("Tools/exit7.exe", "#!/bin/sh\nexit 7\n");
    // Writes its argument count, its first argument, its working folder and its device root.
    WriteProgram("Tools/args.exe",
                 "#!/bin/sh\nprintf '%s|%s|%s|%s' \"$#\" \"$1\" \"$(pwd -P)\" \"$TQ_DEVICE\""
                 " > args.txt\n");
    WriteProgram("My Programs/echo arg.exe", "#!/bin/sh\nprintf '%s' \"$1\" > quoted.txt\n");
    std::ofstream(TestDeviceRoot() + "/notes.txt") << "not a program";
  }
};

TEST_F(LaunchTest, LaunchModesGiveFlagExitCodeOrProcessId) {
  struct Case {
    std::string function, line, mode;
    int64_t expected;  // -1: a process id
  } cases[] = {
      {"LaunchProgramEx", "\\Tools\\exit7.exe", "i:2", 7},
      {"LaunchProgramEx", "\\TOOLS\\EXIT7.EXE", "i:1", 1},
      {"LaunchProgramEx", "/Tools/exit7.exe", "i:0", 1},
      {"LaunchProgramEx", "\\Tools\\exit7.exe", "i:-4", 1},
      {"LaunchProgramEx", "\\Tools\\exit7.exe", "i:3", -1},
  };
  for (const Case& c : cases) {
    const auto r = CallJson({}, c.function, {c.line, "i:1", c.mode});
    SCOPED_TRACE(c.line + " " + c.mode);
    EXPECT_EQ(r.find("error")->find("id")->integer, 0);
    if (c.expected >= 0) {
      EXPECT_EQ(r.find("result")->find("value")->integer, c.expected);
    } else {
      EXPECT_GT(r.find("result")->find("value")->integer, 1);
    }
  }
  const auto waited = CallJson({}, "LaunchProgram", {"\\Tools\\exit7.exe", "i:1", "b:true"});
  EXPECT_TRUE(waited.find("result")->find("value")->boolean);
}

TEST_F(LaunchTest, ArgumentStringReachesTheProgramAsOneArgument) {
  CallJson({}, "LaunchProgramEx", {"\\Tools\\args.exe first second  third", "i:1", "i:1"});
  const std::string root = TestDeviceRoot();
  std::string real = root;
  if (char* resolved = realpath(root.c_str(), nullptr)) {
    real = resolved;
    free(resolved);
  }
  EXPECT_EQ(ReadDeviceFile("args.txt"), "1|first second  third|" + real + "|" + real);
  CallJson({}, "LaunchProgramEx", {"\\Tools\\args.exe", "i:1", "i:1"});
  EXPECT_EQ(ReadDeviceFile("args.txt"), "0||" + real + "|" + real);
  // A quoted program path: the closing quote splits, the space after it is an argument.
  CallJson({}, "LaunchProgramEx", {"\"\\My Programs\\echo arg.exe\" -x", "i:1", "i:1"});
  EXPECT_EQ(ReadDeviceFile("quoted.txt"), " -x");
}

TEST_F(LaunchTest, RefusedAndFailedStartsRaiseTheirErrors) {
  struct Case {
    std::string line;
    int64_t error, systemCode;
  } cases[] = {
      {"exit7.exe", 80600, 0},
      {"", 80600, 0},
      {"Tools\\exit7.exe", 80600, 0},
      {"\\Tools\\missing.exe", 80400, 2},
      {"\\Nowhere\\missing.exe", 80400, 3},
      {"\\notes.txt", 80400, 193},
      {"\\Tools", 80400, 5},
      {"COM1:", 80400, 123},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const auto r = CallJson({}, "LaunchProgramEx", {"s:" + c.line, "i:1", "i:2"});
    EXPECT_EQ(r.find("result")->find("value")->integer, 0);
    EXPECT_EQ(r.find("error")->find("id")->integer, c.error);
    EXPECT_EQ(r.find("error")->find("system_code")->integer, c.systemCode);
  }
  const auto message = CallJson({"--lang", "9"}, "LaunchProgram", {"\\Tools\\missing.exe"});
  EXPECT_NE(message.find("error")->find("message")->text.find("(2)"), std::string::npos);
  EXPECT_FALSE(message.find("result")->find("value")->boolean);
}

}  // namespace

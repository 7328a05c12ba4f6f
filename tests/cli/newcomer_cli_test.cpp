// What a newcomer meets first: help, version, unknown options, describe, naming the library,
// and a settings file at fault reported at start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/support/tq240_process.h"

namespace {

using tqtest::RunTq240;

TEST(Help, EveryFormPrintsTheUsageAndSucceeds) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, {"-h"}, {"help"}, {"--lang", "9", "--help"}}) {
    const tqtest::Tq240Result r = RunTq240(args);
    EXPECT_EQ(r.exitStatus, 0) << args[0];
    EXPECT_EQ(r.out.rfind("usage: tq240", 0), 0u) << r.out;
    // One line a command and an option.
    for (const char* word :
         {"\n  call ", "\n  describe ", "\n  --device ", "\n  --library ", "\n  --version "})
      EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

TEST(Help, UnknownOptionsAreNamedAndShowTheUsage) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--bogus", "call", "IsEven", "2"}, {"-x"}, {"--bogus"}}) {
    const tqtest::Tq240Result r = RunTq240(args);
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_NE(r.err.find("unknown option " + args[0]), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("usage: tq240"), std::string::npos);
  }
}

TEST(Version, NamesBothVersionsAndTheLibraryFile) {
  const tqtest::Tq240Result r = RunTq240({"--version"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out.rfind("tq240 ", 0), 0u);
  EXPECT_NE(r.out.find("libtq240std.so"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("component version 24"), std::string::npos) << r.out;
}

TEST(Library, NamedByOptionOrVariable) {
  const tqtest::Tq240Result missing =
      RunTq240({"--library", "/nonexistent/lib.so", "call", "IsEven", "2"});
  EXPECT_EQ(missing.exitStatus, 2);
  EXPECT_NE(missing.err.find("/nonexistent/lib.so"), std::string::npos) << missing.err;
  setenv("TQ_LIBRARY", "/nonexistent/other.so", 1);
  const tqtest::Tq240Result fromVariable = RunTq240({"call", "IsEven", "2"});
  unsetenv("TQ_LIBRARY");
  EXPECT_EQ(fromVariable.exitStatus, 2);
  EXPECT_NE(fromVariable.err.find("other.so"), std::string::npos);
}

TEST(Describe, ShowsOverloadsInWordsAndErrorsInTheLanguage) {
  const tqtest::Tq240Result r = RunTq240({"--lang", "9", "describe", "datetostring"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out.rfind("9 DateToString\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("DateToString(text, text) -> text  implemented"), std::string::npos);
  EXPECT_NE(r.out.find("80125  Invalid date: the month must be between 1 and 12."),
            std::string::npos)
      << r.out;
  const tqhost::JsonValue record = [] {
    const tqtest::Tq240Result j = RunTq240({"--json", "describe", "9"});
    std::optional<tqhost::JsonValue> v = tqhost::ParseJson(j.out);
    EXPECT_TRUE(v.has_value()) << j.out;
    return v.value_or(tqhost::JsonValue());
  }();
  ASSERT_NE(record.find("overloads"), nullptr);
  EXPECT_EQ(record.find("overloads")->elements.size(), 2u);
  EXPECT_EQ(record.find("errors")->elements.size(), 12u);
  // A function never implemented, and an unknown one.
  EXPECT_NE(RunTq240({"describe", "16"}).out.find("not implemented"), std::string::npos);
  EXPECT_EQ(RunTq240({"describe", "NoSuchFunction"}).exitStatus, 2);
}

TEST(Settings, AMemberAtFaultIsReportedAtStart) {
  const std::string path = tqtest::TestDeviceRoot() + "-bad-settings.json";
  std::ofstream(path) << R"({"date": {"mask": 12}})";
  // functions makes no call that asks for the settings: the report comes from the start.
  const tqtest::Tq240Result r = RunTq240({"--settings", path, "info"});
  EXPECT_NE(r.err.find("date.mask"), std::string::npos) << r.err;
}

}  // namespace

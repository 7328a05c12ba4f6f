// The probe fixture: TQ_TEST_PROBE names the probe module built beside tq240.
#include "tests/cli/probe_support.h"

#include <cstdlib>
#include <sstream>

#include "tests/support/tq240_process.h"

namespace tqtest {

void ProbeTest::SetUp() {
  std::string dir = std::getenv("TQ240") ? std::getenv("TQ240") : "";
  dir = dir.substr(0, dir.rfind('/') + 1);
  setenv("TQ_TEST_PROBE", (dir + "tq240_test_probe.so").c_str(), 1);
}

void ProbeTest::TearDown() { unsetenv("TQ_TEST_PROBE"); }

std::vector<tqhost::JsonValue> ProbeTest::Script(const std::string& script,
                                                 const std::vector<std::string>& options) {
  std::vector<std::string> args = options;
  args.push_back("script");
  const Tq240Result r = RunTq240(args, script);
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  std::vector<tqhost::JsonValue> out;
  std::istringstream lines(r.out);
  std::string line;
  while (std::getline(lines, line)) {
    std::optional<tqhost::JsonValue> v = tqhost::ParseJson(line);
    EXPECT_TRUE(v.has_value()) << line;
    if (v) out.push_back(std::move(*v));
  }
  return out;
}

const tqhost::JsonValue& ProbeTest::Member(const tqhost::JsonValue& v, const char* a,
                                           const char* b, const char* c) {
  static const tqhost::JsonValue none;
  const tqhost::JsonValue* at = v.find(a);
  if (at && b) at = at->find(b);
  if (at && c) at = at->find(c);
  return at ? *at : none;
}

}  // namespace tqtest

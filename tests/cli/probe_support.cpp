// The probe fixture: TQ_TEST_PROBE names the probe module built beside tq240.
#include "tests/cli/probe_support.h"

#include <cstdlib>
#include <string>

namespace tqtest {

void ProbeTest::SetUp() {
  std::string dir = std::getenv("TQ240") ? std::getenv("TQ240") : "";
  dir = dir.substr(0, dir.rfind('/') + 1);
  setenv("TQ_TEST_PROBE", (dir + "tq240_test_probe.so").c_str(), 1);
}

void ProbeTest::TearDown() { unsetenv("TQ_TEST_PROBE"); }

}  // namespace tqtest

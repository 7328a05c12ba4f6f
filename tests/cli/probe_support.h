// Shared by the tests of tq240's own rules: the fixture that makes tq240 load the test probe
// (tests/cli/probe) for the duration of a test.
#pragma once

#include <gtest/gtest.h>

namespace tqtest {

class ProbeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace tqtest

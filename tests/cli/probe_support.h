// Shared by the tests of tq240's own rules: the fixture that makes tq240 load the test probe
// (tests/cli/probe), script runs split into records, and JSON member paths.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/json.h"

namespace tqtest {

class ProbeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs a script and returns its records, one per output line.
  static std::vector<tqhost::JsonValue> Script(const std::string& script,
                                               const std::vector<std::string>& options = {});
  // A member by path; an empty value when absent.
  static const tqhost::JsonValue& Member(const tqhost::JsonValue& v, const char* a,
                                         const char* b = nullptr, const char* c = nullptr);
};

}  // namespace tqtest

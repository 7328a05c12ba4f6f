// A fresh device root per test and scripts run through tq240 on it.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/platform/host_files.h"
#include "tests/support/script_cases.h"

namespace tqtest {

class FreshDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    root = TestDeviceRoot() + "-files-" + std::to_string(counter++);
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
  }
  void TearDown() override { std::filesystem::remove_all(root); }

  Tq240Result Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"--device", root, "--tz", "UTC"});
    return RunTq240(args, input);
  }
  std::vector<tqhost::JsonValue> Script(const std::string& script) {
    return ScriptRecords(script, {"--device", root, "--tz", "UTC"});
  }
  // The cases' lines as one script, each record checked against its case.
  std::vector<tqhost::JsonValue> Cases(const std::vector<ScriptCase>& cases) {
    return RunScriptCases({"--device", root, "--tz", "UTC"}, cases);
  }
  void Write(const std::string& relative, const std::string& bytes) {
    WriteFileBytes(root + "/" + relative, bytes);
  }
  std::string Read(const std::string& relative) { return ReadFileBytes(root + "/" + relative); }
  std::string root;
};

inline std::string ResultText(const tqhost::JsonValue& record) {
  return RenderedResult(record);
}

inline int64_t ErrorId(const tqhost::JsonValue& record) {
  return record.find("error")->find("id")->integer;
}
inline int64_t ErrorLevel(const tqhost::JsonValue& record) {
  return record.find("error")->find("level")->integer;
}
inline int64_t SystemCode(const tqhost::JsonValue& record) {
  return record.find("error")->find("system_code")->integer;
}

}  // namespace tqtest

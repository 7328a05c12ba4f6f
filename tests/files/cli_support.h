// A fresh device root per test and scripts run through tq240 on it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/tq240_process.h"

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
    const Tq240Result r = Run({"script", "-"}, script);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    return tqtest::JsonRecords(r.out);
  }
  void Write(const std::string& relative, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(root + "/" + relative).parent_path());
    std::ofstream(root + "/" + relative, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& relative) {
    std::ifstream in(root + "/" + relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::string root;
};

inline std::string ResultText(const tqhost::JsonValue& record) {
  const tqhost::JsonValue* result = record.find("result");
  if (result == nullptr || result->find("value") == nullptr) return "<none>";
  const tqhost::JsonValue& v = *result->find("value");
  switch (v.kind) {
    case tqhost::JsonValue::Kind::kString: return v.text;
    case tqhost::JsonValue::Kind::kBoolean: return v.boolean ? "true" : "false";
    case tqhost::JsonValue::Kind::kNumber: return std::to_string(v.integer);
    default: return "<other>";
  }
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

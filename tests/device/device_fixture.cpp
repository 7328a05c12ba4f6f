// The per-test device root and its files.
#include "tests/device/device_fixture.h"

#include <fstream>
#include <sstream>

#include "tests/support/tq240_process.h"

namespace tqtest {

void DeviceTest::SetUp() {
  root_ = std::filesystem::path(TestDeviceRoot()) /
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::filesystem::remove_all(root_);
  std::filesystem::create_directories(root_ / ".device");
}

void DeviceTest::TearDown() { std::filesystem::remove_all(root_); }

void DeviceTest::WriteDeviceFile(const std::string& name, const std::string& content) {
  std::ofstream(root_ / ".device" / name, std::ios::binary) << content;
}

std::string DeviceTest::ReadDeviceFile(const std::string& name) const {
  std::ifstream file(root_ / ".device" / name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<tqhost::JsonValue> DeviceTest::InputLog() const {
  std::vector<tqhost::JsonValue> records;
  std::istringstream lines(ReadDeviceFile("input.log"));
  for (std::string line; std::getline(lines, line);) {
    std::optional<tqhost::JsonValue> record = tqhost::ParseJson(line);
    EXPECT_TRUE(record) << line;
    if (record) records.push_back(*record);
  }
  return records;
}

tqhost::JsonValue DeviceTest::Call(const std::string& function,
                                   const std::vector<std::string>& args,
                                   const std::vector<std::string>& options) {
  std::vector<std::string> all = {"--device", root_.string()};
  all.insert(all.end(), options.begin(), options.end());
  return CallJson(all, function, args);
}

std::string DeviceTest::Text(const std::string& function, const std::vector<std::string>& args,
                             const std::vector<std::string>& options) {
  const tqhost::JsonValue record = Call(function, args, options);
  const tqhost::JsonValue* result = record.find("result");
  const tqhost::JsonValue* value = result ? result->find("value") : nullptr;
  if (value == nullptr) return "<no result>";
  if (value->kind == tqhost::JsonValue::Kind::kString) return value->text;
  if (value->kind == tqhost::JsonValue::Kind::kBoolean) return value->boolean ? "true" : "false";
  return std::to_string(value->integer);
}

int64_t DeviceTest::ErrorId(const tqhost::JsonValue& record) {
  const tqhost::JsonValue* error = record.find("error");
  const tqhost::JsonValue* id = error ? error->find("id") : nullptr;
  return id ? id->integer : -1;
}

int64_t DeviceTest::SystemCode(const tqhost::JsonValue& record) {
  const tqhost::JsonValue* error = record.find("error");
  const tqhost::JsonValue* code = error ? error->find("system_code") : nullptr;
  return code ? code->integer : -1;
}

}  // namespace tqtest

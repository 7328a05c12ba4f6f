// A fresh device root per test, with helpers to describe the device (device.json, a form),
// run tq240 on it and read what the device recorded (input log, power log, clipboard).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/json.h"

namespace tqtest {

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes "<root>/.device/NAME" (device.json, clipboard.txt, ...).
  void WriteDeviceFile(const std::string& name, const std::string& content);
  std::string ReadDeviceFile(const std::string& name) const;
  // Every line of the input log, parsed.
  std::vector<tqhost::JsonValue> InputLog() const;
  // Runs `tq240 --device ROOT --json [options] call FUNCTION ARGS...`, returns the record.
  tqhost::JsonValue Call(const std::string& function, const std::vector<std::string>& args = {},
                         const std::vector<std::string>& options = {});
  // The result value of Call as text / integer; the error id and system code of the record.
  std::string Text(const std::string& function, const std::vector<std::string>& args = {},
                   const std::vector<std::string>& options = {});
  static int64_t ErrorId(const tqhost::JsonValue& record);
  static int64_t SystemCode(const tqhost::JsonValue& record);

  std::filesystem::path root_;
};

}  // namespace tqtest

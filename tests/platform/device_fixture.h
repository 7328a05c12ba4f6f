// A fresh simulated device for each test: its own device root in a temporary directory and a
// configuration read from environment variables that the test chooses.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/device_config.h"
#include "tests/platform/host_files.h"

namespace ce::testing {

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    workDir_ = tqtest::MakeTestFolder("platform");
    ASSERT_FALSE(workDir_.empty());
    root_ = workDir_ + "/device";
    for (const char* name : kSaved) {
      const char* value = std::getenv(name);
      if (value) saved_[name] = value;
    }
    for (const char* name : {"TQ_DEVICE", "TQ_CLOCK", "TQ_TZ", "TQ_LOCALE", "TZ"}) {
      unsetenv(name);
    }
    setenv("TQ_DEVICE", root_.c_str(), 1);
    setenv("TQ_TZ", "UTC", 1);
    ResetDeviceConfigForTesting();
  }

  void TearDown() override {
    for (const char* name : kSaved) {
      auto found = saved_.find(name);
      if (found != saved_.end()) {
        setenv(name, found->second.c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
    ResetDeviceConfigForTesting();
    std::error_code ignored;
    std::filesystem::remove_all(workDir_, ignored);
  }

  // Sets (or with nullptr removes) a variable and makes the configuration read it again.
  void Configure(const char* name, const char* value) {
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
    ResetDeviceConfigForTesting();
  }

  // Whole host files: parent folders created on writing, "" for a file that cannot be read.
  static void WriteHost(const std::string& path, const std::string& bytes) {
    tqtest::WriteFileBytes(path, bytes);
  }
  static std::string ReadHost(const std::string& path) { return tqtest::ReadFileBytes(path); }

  std::string workDir_;
  std::string root_;

 private:
  static constexpr const char* kSaved[] = {"TQ_DEVICE", "TQ_CLOCK", "TQ_TZ",        "TQ_LOCALE",
                                           "TZ",        "HOME",     "XDG_DATA_HOME"};
  std::map<std::string, std::string> saved_;
};

}  // namespace ce::testing

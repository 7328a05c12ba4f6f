// A fresh device with a started socket layer for each test; the device's network settings are
// the defaults unless the test installs others before starting the layer.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "net/socket_layer.h"
#include "platform/network_settings.h"
#include "tests/platform/device_fixture.h"

namespace tqtest {

class NetTest : public ce::testing::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    UseSettings(ce::NetworkSettings{});
  }
  void TearDown() override {
    while (started_ > 0) {
      tq::net::SocketLayer::Release();
      --started_;
    }
    ce::SetNetworkSettingsForTesting(nullptr);
    DeviceTest::TearDown();
  }

  void UseSettings(ce::NetworkSettings settings) {
    ce::SetNetworkSettingsForTesting(
        std::make_shared<const ce::NetworkSettings>(std::move(settings)));
  }
  bool StartLayer(tq::net::NetFailure* failure = nullptr) {
    const bool started = tq::net::SocketLayer::Initialise(failure);
    if (started) ++started_;
    return started;
  }
  std::string ReadHostFile(const std::string& relative) const {
    std::ifstream file(root_ + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  int started_ = 0;
};

}  // namespace tqtest

// A simulated device with shares: host folders that the device describes as \\srv\SHARE and
// that a test connects under local names, so that they appear as \Network\NAME. Every test
// starts with one, \Network\Docs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/device_path.h"
#include "platform/network_connection.h"
#include "platform/network_settings.h"
#include "tests/platform/device_fixture.h"

namespace ce::testing {

class ShareTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    root = DeviceRoot();
    share = NewShare(u"Docs", "docs");
  }
  void TearDown() override {
    SetNetworkSettingsForTesting(nullptr);
    DeviceTest::TearDown();
  }

  // Describes \\srv\`share` over the host folder `folder` (not created) and connects it
  // under `localName`.
  void Connect(std::u16string localName, std::u16string share, const std::string& folder) {
    shares_.push_back({u"srv", share, folder, std::nullopt});
    auto settings = std::make_shared<NetworkSettings>();
    settings->shares = shares_;
    SetNetworkSettingsForTesting(settings);
    std::u16string remote = u"\\\\srv\\" + share;
    NETRESOURCEW resource{RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0,       RESOURCEUSAGE_CONNECTABLE,
                          localName.data(),   remote.data(),    nullptr, nullptr};
    ASSERT_EQ(WNetAddConnection3W(nullptr, &resource, u"", nullptr, 0), 0u);
  }
  // A share folder of its own, created, connected under `localName`; its host path.
  std::string NewShare(const std::u16string& localName, const std::string& folderName) {
    const std::string folder = workDir_ + "/" + folderName;
    std::filesystem::create_directories(folder);
    Connect(localName, std::u16string(folderName.begin(), folderName.end()), folder);
    return std::filesystem::canonical(folder).string();
  }

  std::string root;
  std::string share;  // \\srv\docs, connected as Docs

 private:
  std::vector<ConnectableShare> shares_;
};

}  // namespace ce::testing

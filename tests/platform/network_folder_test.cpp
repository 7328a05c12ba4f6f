// \Network\NAME as a volume of its own: lexical rules, case, links that try to leave the share
// (or reach the root through it), names that are not connected, and host paths back.
#include "platform/network_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/device_path.h"
#include "platform/last_error.h"
#include "tests/platform/share_fixture.h"

namespace ce {
namespace {

namespace fs = std::filesystem;

class NetworkFolderTest : public testing::ShareTest {
 protected:
  void Link(const std::string& target, const std::string& relative) {
    fs::create_directories(fs::path(share + "/" + relative).parent_path());
    ASSERT_EQ(symlink(target.c_str(), (share + "/" + relative).c_str()), 0);
  }
};

TEST_F(NetworkFolderTest, PathsLandInTheShareAndDotDotStopsAtItsTop) {
  WriteHost(share + "/Sub/File.txt", "x");
  WriteHost(root + "/x", "root");
  struct Case {
    std::u16string device;
    DeviceVolume volume;
    std::string relative;
  } cases[] = {
      {u"\\Network\\Docs\\a\\b", DeviceVolume::kShare, "a/b"},
      {u"/NETWORK/docs/a", DeviceVolume::kShare, "a"},
      {u"\\network\\DOCS\\sub\\FILE.TXT", DeviceVolume::kShare, "Sub/File.txt"},
      {u"\\Network\\Docs", DeviceVolume::kShare, ""},
      {u"\\Network\\Docs\\", DeviceVolume::kShare, ""},
      {u"\\Network\\Docs\\..", DeviceVolume::kShare, ""},
      {u"\\Network\\Docs\\..\\..\\..\\x", DeviceVolume::kShare, "x"},
      {u"\\Network\\Docs\\a\\..\\..\\b", DeviceVolume::kShare, "b"},
      {u"\\a\\..\\Network\\Docs\\f", DeviceVolume::kShare, "f"},
      {u"\\Network", DeviceVolume::kNetworkFolder, ""},
      {u"\\Network\\.", DeviceVolume::kNetworkFolder, ""},
      {u"\\Network\\..\\x", DeviceVolume::kRoot, "x"},
      {u"\\Networks\\x", DeviceVolume::kRoot, "Networks/x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.device.begin(), c.device.end()));
    const std::optional<DeviceLocation> location = ResolveDevicePath(c.device);
    ASSERT_TRUE(location);
    EXPECT_EQ(location->volume, c.volume);
    EXPECT_EQ(location->relative, c.relative);
    if (c.volume == DeviceVolume::kShare) {
      EXPECT_EQ(location->base, share);
      EXPECT_EQ(location->shareName, u"Docs");
      EXPECT_EQ(MapDevicePath(c.device), location->HostPath());
    }
  }
}

TEST_F(NetworkFolderTest, MissingNamesAndTheNetworkFolderHaveNoHostPath) {
  Connect(u"Gone", u"gone", workDir_ + "/no-such-folder");
  Connect(u"Whole", u"whole", workDir_);  // holds the device root
  struct Case {
    std::u16string device;
    DWORD error;
  } cases[] = {
      {u"\\Network", ERROR_ACCESS_DENIED},
      {u"\\Network\\Other", ERROR_FILE_NOT_FOUND},
      {u"\\Network\\Other\\x", ERROR_PATH_NOT_FOUND},
      {u"\\Network\\Gone", ERROR_FILE_NOT_FOUND},
      {u"\\Network\\Gone\\x\\y", ERROR_PATH_NOT_FOUND},
      {u"\\Network\\Whole\\device", ERROR_ACCESS_DENIED},
      {u"\\Network\\Do*cs", ERROR_INVALID_NAME},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.device.begin(), c.device.end()));
    SetLastError(0);
    EXPECT_FALSE(MapDevicePath(c.device).has_value());
    EXPECT_EQ(GetLastError(), c.error);
  }
  // A host folder "Network" in the root is hidden by the device's folder.
  fs::create_directories(root + "/network/Other");
  SetLastError(0);
  EXPECT_FALSE(MapDevicePath(u"\\Network\\Other").has_value());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(NetworkFolderTest, LinksMayNotLeaveTheShare) {
  WriteHost(root + "/secret.txt", "root");
  fs::create_directories(share + "/sub");
  Link("/", "abs");
  Link(root, "to-root");
  Link("..", "up");
  Link("../device", "sibling");
  Link("../../outside", "sub/up2");
  Link(root + "/new", "dangling-root");
  Link("sub", "in");
  Link("sub/new", "dangling-in");
  struct Case {
    std::u16string device;
    const char* relative;  // nullptr: refused with ERROR_ACCESS_DENIED
  } cases[] = {
      {u"\\Network\\Docs\\abs\\etc", nullptr}, {u"\\Network\\Docs\\to-root\\secret.txt", nullptr},
      {u"\\Network\\Docs\\UP\\x", nullptr},    {u"\\Network\\Docs\\sibling\\secret.txt", nullptr},
      {u"\\Network\\Docs\\sub\\up2", nullptr}, {u"\\Network\\Docs\\dangling-root", nullptr},
      {u"\\Network\\Docs\\in\\f", "in/f"},     {u"\\Network\\Docs\\dangling-in", "dangling-in"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.device.begin(), c.device.end()));
    SetLastError(0);
    const std::optional<DeviceLocation> location = ResolveDevicePath(c.device);
    if (c.relative == nullptr) {
      EXPECT_FALSE(location.has_value());
      EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    } else {
      ASSERT_TRUE(location);
      EXPECT_EQ(location->relative, c.relative);
    }
  }
}

TEST_F(NetworkFolderTest, OpeningBeneathTheShareRefusesLinksSwappedInAfterResolving) {
  WriteHost(root + "/d/canary", "canary");
  fs::create_directories(share + "/d");
  const std::optional<DeviceLocation> location = ResolveDevicePath(u"\\Network\\Docs\\d\\canary");
  ASSERT_TRUE(location);
  // Between resolving and opening, the share's folder becomes a link into the device root.
  fs::remove(share + "/d");
  ASSERT_EQ(symlink((root + "/d").c_str(), (share + "/d").c_str()), 0);
  errno = 0;
  EXPECT_EQ(OpenAtLocation(*location, O_RDWR | O_TRUNC), -1);
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(BeneathParent(*location).fd(), -1);
  EXPECT_EQ(ReadHost(root + "/d/canary"), "canary");
  const int top = OpenAtLocation(*ResolveDevicePath(u"\\Network\\Docs"), O_RDONLY | O_DIRECTORY);
  EXPECT_GE(top, 0);
  close(top);
}

TEST_F(NetworkFolderTest, HostPathsInsideASharePointBackToIt) {
  const std::string nested = NewShare(u"Inner", "docs/inner");
  EXPECT_EQ(HostToDevicePath(share), u"\\Network\\Docs");
  EXPECT_EQ(HostToDevicePath(share + "/a/./b/../c.txt"), u"\\Network\\Docs\\a\\c.txt");
  EXPECT_EQ(HostToDevicePath(nested + "/x"), u"\\Network\\Inner\\x");  // the deepest folder
  EXPECT_EQ(HostToDevicePath(root + "/x"), u"\\x");
  SetLastError(0);
  EXPECT_FALSE(HostToDevicePath(workDir_ + "/elsewhere").has_value());
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  const std::u16string device = u"\\Network\\Docs\\Notes.txt";
  EXPECT_EQ(HostToDevicePath(*MapDevicePath(device)), device);
}

TEST_F(NetworkFolderTest, ConnectionsWrittenByAnotherProcessShowAtTheNextResolution) {
  const std::string other = workDir_ + "/other";
  fs::create_directories(other);
  Connect(u"Spare", u"other", other);
  ASSERT_TRUE(ResolveDevicePath(u"\\Network\\Spare"));  // the connections are now read and kept
  const std::string file = root + "/.device/connections.txt";
  std::ofstream(file, std::ios::app) << "Third\t\\\\srv\\other\n";  // appended by another process
  EXPECT_TRUE(ResolveDevicePath(u"\\Network\\Third"));
  // The file replaced by one of the same size.
  std::string text = ReadHost(file);
  text.replace(text.find("Spare"), 5, "Swaps");
  WriteHost(file + ".new", text);
  fs::rename(file + ".new", file);
  EXPECT_TRUE(ResolveDevicePath(u"\\Network\\Swaps"));
  EXPECT_FALSE(ResolveDevicePath(u"\\Network\\Spare"));
}

}  // namespace
}  // namespace ce

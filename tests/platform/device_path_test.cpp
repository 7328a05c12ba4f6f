// Device path mapping: lexical rules, refusals, escapes through links, case-insensitive
// lookup, and the way back from host paths.
#include "platform/device_path.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "device_fixture.h"
#include "platform/last_error.h"

namespace ce {
namespace {

namespace fs = std::filesystem;

class DevicePathTest : public testing::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    root = DeviceRoot();
  }
  void Touch(const std::string& relative) { WriteHost(root + "/" + relative, "x"); }
  void Link(const std::string& target, const std::string& relative) {
    fs::create_directories(fs::path(root + "/" + relative).parent_path());
    ASSERT_EQ(symlink(target.c_str(), (root + "/" + relative).c_str()), 0);
  }
  std::string root;
};

TEST_F(DevicePathTest, RootIsCreatedAbsoluteAndCanonical) {
  EXPECT_TRUE(fs::is_directory(root));
  EXPECT_EQ(root, fs::canonical(root_).string());
  Configure("TQ_DEVICE", (workDir_ + "/a/b/../c").c_str());
  const std::string created = DeviceRoot();
  EXPECT_EQ(created, fs::canonical(workDir_ + "/a/c").string());
}

TEST_F(DevicePathTest, LexicalMapping) {
  struct Case {
    std::u16string device;
    std::string host;  // relative to the root; "" for the root itself
  } cases[] = {
      {u"\\Windows\\win.ini", "/Windows/win.ini"},
      {u"Windows\\x", "/Windows/x"},
      {u"/a/b", "/a/b"},
      {u"\\a/b\\\\c\\", "/a/b/c"},
      {u"\\", ""},
      {u"/", ""},
      {u".", ""},
      {u"\\a\\.\\b", "/a/b"},
      {u"\\a\\..\\b", "/b"},
      {u"\\..\\..\\etc\\passwd", "/etc/passwd"},
      {u"\\a\\..\\..\\..\\b", "/b"},
      {u"\\...\\ x", "/.../ x"},
      {u"\\\u00E9t\u00E9\\\U0001F600", "/\xC3\xA9t\xC3\xA9/\xF0\x9F\x98\x80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MapDevicePath(c.device), root + c.host) << std::string(c.host);
  }
}

TEST_F(DevicePathTest, RefusesMalformedNames) {
  std::u16string deep;  // no component too long, the whole too long
  for (int i = 0; i < 40; ++i) deep += u"\\" + std::u16string(200, u'd');
  struct Case {
    std::u16string device;
    DWORD error;
  } cases[] = {
      {u"", ERROR_INVALID_NAME},
      {u"C:\\Windows", ERROR_INVALID_NAME},
      {u"c:", ERROR_INVALID_NAME},
      {u"\\\\server\\share", ERROR_INVALID_NAME},
      {u"//server/share", ERROR_INVALID_NAME},
      {u"\\/server", ERROR_INVALID_NAME},
      {std::u16string(u"a\0b", 3), ERROR_INVALID_NAME},
      {u"a\x01", ERROR_INVALID_NAME},
      {u"a*", ERROR_INVALID_NAME},
      {u"a?", ERROR_INVALID_NAME},
      {u"a|b", ERROR_INVALID_NAME},
      {u"a<b>", ERROR_INVALID_NAME},
      {u"\"a\"", ERROR_INVALID_NAME},
      {u"\\x\xD800", ERROR_INVALID_NAME},
      {u"\\" + std::u16string(256, u'a'), ERROR_FILENAME_EXCED_RANGE},
      {deep, ERROR_FILENAME_EXCED_RANGE},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SetLastError(0);
    EXPECT_FALSE(MapDevicePath(cases[i].device).has_value()) << "case " << i;
    EXPECT_EQ(GetLastError(), cases[i].error) << "case " << i;
  }
}

TEST_F(DevicePathTest, LinksMayNotLeadOutside) {
  const std::string outside = workDir_ + "/outside";
  fs::create_directories(outside);
  fs::create_directories(root + "/sub");
  Link("/", "abs");
  Link("../..", "up");
  Link(outside, "out");
  Link(outside + "/not-yet", "dangling-out");
  Link("sub/new-file", "dangling-in");
  Link("sub", "in");
  Link("in", "chain");
  Link("loop2", "loop1");
  Link("loop1", "loop2");
  Link("../../outside", "sub/up2");
  Link("dangling-out", "to-dangling");

  struct Case {
    std::u16string device;
    const char* host;  // nullptr: refused with ERROR_ACCESS_DENIED
  } cases[] = {
      {u"\\abs", nullptr},          {u"\\abs\\etc\\passwd", nullptr},   {u"\\up\\x", nullptr},
      {u"\\out", nullptr},          {u"\\OUT\\file", nullptr},  // reached through the
                                                                // case-insensitive lookup
      {u"\\dangling-out", nullptr}, {u"\\to-dangling", nullptr},        {u"\\loop1", nullptr},
      {u"\\sub\\up2\\x", nullptr},  {u"\\dangling-in", "/dangling-in"}, {u"\\in\\f", "/in/f"},
      {u"\\chain\\f", "/chain/f"},  {u"\\in\\..\\sub", "/sub"},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    std::optional<std::string> mapped = MapDevicePath(c.device);
    if (c.host == nullptr) {
      EXPECT_FALSE(mapped.has_value()) << mapped.value_or("");
      EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    } else {
      EXPECT_EQ(mapped, root + c.host);
    }
  }
}

TEST_F(DevicePathTest, ComponentsMatchWithoutRegardToCase) {
  Touch("Windows/Win.ini");
  Touch("dir/a");
  Touch("dir/A");
  Touch("dir/Ab");
  Touch("dir/AB");
  Touch("\xC3\xA9t\xC3\xA9/x");  // été
  struct Case {
    std::u16string device;
    std::string host;
  } cases[] = {
      {u"\\WINDOWS\\WIN.INI", "/Windows/Win.ini"},
      {u"\\windows\\new.txt", "/Windows/new.txt"},  // a new name keeps its spelling
      {u"\\Nothing\\Here", "/Nothing/Here"},
      {u"\\dir\\a", "/dir/a"},  // the exact name wins
      {u"\\dir\\A", "/dir/A"},
      {u"\\dir\\ab", "/dir/AB"},  // several matches: the first in byte order
      {u"\\\u00C9T\u00C9\\X", "/\xC3\xA9t\xC3\xA9/x"},
  };
  for (const Case& c : cases) EXPECT_EQ(MapDevicePath(c.device), root + c.host) << c.host;
}

TEST_F(DevicePathTest, HostPathsBackToDevicePaths) {
  EXPECT_EQ(HostToDevicePath(root), u"\\");
  EXPECT_EQ(HostToDevicePath(root + "/"), u"\\");
  EXPECT_EQ(HostToDevicePath(root + "/Windows/win.ini"), u"\\Windows\\win.ini");
  EXPECT_EQ(HostToDevicePath(root + "/a/./b/../c"), u"\\a\\c");
  EXPECT_EQ(HostToDevicePath(root + "/\xC3\xA9t\xC3\xA9"), u"\\\u00E9t\u00E9");
  EXPECT_EQ(HostToDevicePath(root_ + "/x"), u"\\x");  // under the root as configured
  for (const std::string& outside : {std::string("/etc/passwd"), root + "/../x", root + "x"}) {
    SetLastError(0);
    EXPECT_FALSE(HostToDevicePath(outside).has_value()) << outside;
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  }
  EXPECT_FALSE(HostToDevicePath(root + "/\xFF").has_value());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);

  const std::u16string device = u"\\My Documents\\Notes.txt";
  EXPECT_EQ(HostToDevicePath(*MapDevicePath(device)), device);
}

TEST_F(DevicePathTest, StateFolderIsUnreachableAndTempAppearsOnDemand) {
  for (const char16_t* path : {u"\\.device", u"\\.DEVICE\\registry.db", u"/.Device/x",
                               u"\\a\\..\\.device\\clock"}) {
    SetLastError(0);
    EXPECT_FALSE(MapDevicePath(path).has_value());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  }
  EXPECT_TRUE(MapDevicePath(u"\\a\\.device").has_value());  // only the root's folder is hidden
  EXPECT_FALSE(fs::exists(root + "/Temp"));
  EXPECT_EQ(*MapDevicePath(u"\\TEMP\\x.tmp"), root + "/Temp/x.tmp");
  EXPECT_TRUE(fs::is_directory(root + "/Temp"));
}

TEST_F(DevicePathTest, OpeningBeneathTheRootRefusesLinksSwappedInAfterMapping) {
  const std::string outside = workDir_ + "/outside";
  WriteHost(outside + "/canary", "canary");
  fs::create_directories(root + "/d");
  const std::optional<std::string> mapped = MapDevicePath(u"\\d\\canary");
  ASSERT_TRUE(mapped);
  const std::optional<DeviceLocation> location = ResolveDevicePath(u"\\d\\canary");
  ASSERT_TRUE(location);
  // Between the mapping and the open, the directory becomes a link leading outside.
  fs::remove(root + "/d");
  ASSERT_EQ(symlink(outside.c_str(), (root + "/d").c_str()), 0);
  errno = 0;
  EXPECT_EQ(OpenBeneathRoot(*mapped, O_RDWR | O_TRUNC), -1);
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(ReadHost(outside + "/canary"), "canary");
  EXPECT_EQ(OpenAtLocation(*location, O_RDWR | O_TRUNC), -1);
  EXPECT_EQ(errno, EACCES);
  BeneathParent parent(*location);
  EXPECT_EQ(parent.fd(), -1);
  const int inside = OpenBeneathRoot(root, O_RDONLY | O_DIRECTORY);
  EXPECT_GE(inside, 0);
  close(inside);
}

}  // namespace
}  // namespace ce

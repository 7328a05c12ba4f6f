// Application names, version order and update addresses.
#include <gtest/gtest.h>

#include "frame/update_check.h"
#include "frame/update_names.h"

namespace {

TEST(ApplicationName, DriveNetworkAndFolderPrefixesAndTheExtensionGo) {
  const struct {
    const char16_t* path;
    const char16_t* name;
  } cases[] = {{u"C:\\Apps\\Stock.v2.EXE", u"Stock.v2"},
               {u"\\\\server\\share\\dir\\Tool.exe", u"Tool"},
               {u"//server/share/Tool.exe", u"Tool"},
               {u"Plain", u"Plain"},
               {u"\\dir.d\\noext", u"noext"},
               {u"", u""}};
  for (const auto& c : cases) EXPECT_EQ(tq::ApplicationName(c.path), c.name);
}

TEST(CompareVersions, DigitsCompareByValue) {
  const struct {
    const char16_t* a;
    const char16_t* b;
    int sign;
  } cases[] = {{u"2.0", u"2.0", 0},
               {u"2.0", u"2.0.1", -1},    {u"v2", u"V2", 0},       {u"1.01", u"1.1", -1},
               {u"10", u"9", 1},          {u"", u"1", -1},         {u"a", u"1", 1},
               {u"99999999999999999999", u"100000000000000000000", -1}};
  for (const auto& c : cases) {
    const int r = tq::CompareVersions(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << std::string(c.a, c.a + 0);
    const int back = tq::CompareVersions(c.b, c.a);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign);
  }
}

TEST(SplitUpdateAddress, HostPortAndPath) {
  tq::UpdateAddress a = tq::SplitUpdateAddress(u"host/VERSION.TZ");
  EXPECT_EQ(a.host, "host");
  EXPECT_EQ(a.port, 80);
  a = tq::SplitUpdateAddress(u"VERSION.TZ");  // no "/": everything is the host
  EXPECT_EQ(a.host, "VERSION.TZ");
  EXPECT_EQ(a.path, u"/");
}

}  // namespace

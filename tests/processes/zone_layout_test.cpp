// Zone object names and the administration area, byte for byte.
#include <array>

#include <gtest/gtest.h>

#include "system/zone_layout.h"

namespace {

using Admin = std::array<uint8_t, tq::kZoneAdminSize>;

TEST(ZoneNames, ScopeAndCompanions) {
  EXPECT_EQ(tq::ZoneObjectName(u"Z", 2), u"Local\\Z");
  EXPECT_EQ(tq::ZoneObjectName(u"Z", 1), u"Global\\Z");
  EXPECT_EQ(tq::ZoneObjectName(u"Z", 0), u"Global\\Z");
  EXPECT_EQ(tq::ZoneSemaphoreName(u"Local\\Z", u'F', 7), u"Local\\Z_SEMF7");
}

TEST(ZoneAdmin, AddRemoveByteForByte) {
  Admin admin;
  admin.fill(0xAA);
  tq::AdminInitialise(admin);
  EXPECT_EQ(admin[0], 1);
  EXPECT_EQ(admin[1], 0);
  EXPECT_TRUE(tq::AdminAdd(admin, 0x01020304));
  EXPECT_TRUE(tq::AdminAdd(admin, 0x0A0B0C0D));
  EXPECT_FALSE(tq::AdminAdd(admin, 0x01020304));  // already there
  const Admin expected = [] {
    Admin a{};
    a[0] = 1;
    a[1] = 2;
    a[4] = 0x04; a[5] = 0x03; a[6] = 0x02; a[7] = 0x01;
    a[8] = 0x0D; a[9] = 0x0C; a[10] = 0x0B; a[11] = 0x0A;
    return a;
  }();
  EXPECT_EQ(admin, expected);
  tq::AdminRemove(admin, 0x01020304);  // the later id moves up
  EXPECT_EQ(admin[1], 1);
  EXPECT_EQ(tq::AdminProcesses(admin), std::vector<uint32_t>{0x0A0B0C0D});
  EXPECT_EQ(admin[8], 0);
  tq::AdminRemove(admin, 99);  // absent: nothing changes
  EXPECT_EQ(admin[1], 1);
}

TEST(ZoneAdmin, TwentyProcessesAtMostAndNewerVersionsUnused) {
  Admin admin;
  tq::AdminInitialise(admin);
  for (uint32_t pid = 1; pid <= 20; ++pid) EXPECT_TRUE(tq::AdminAdd(admin, pid));
  EXPECT_FALSE(tq::AdminAdd(admin, 21));
  EXPECT_EQ(tq::AdminProcesses(admin).size(), 20u);
  admin[1] = 200;  // damaged count
  EXPECT_EQ(tq::AdminProcesses(admin).size(), 20u);
  EXPECT_TRUE(tq::AdminUsable(admin));
  admin[0] = 2;
  EXPECT_FALSE(tq::AdminUsable(admin));
}

}  // namespace

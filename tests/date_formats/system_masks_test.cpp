// System masks: device formats rewritten in mask letters, the project's masks and flags, and
// the special mask names.
#include "datetime/system_masks.h"

#include <gtest/gtest.h>

#include "datetime/date_mask.h"
#include "tests/date_formats/test_settings.h"

namespace {

using tqtest::DateFormatTest;
using tqtest::FakeSettings;
using tqtest::SettingsOptions;
using SystemMasksTest = DateFormatTest;

TEST(DeviceFormats, RewrittenInMaskLetters) {
  EXPECT_EQ(tq::TimeMaskFromDeviceFormat(u"h:mm:ss tt"), u"H:MM:SS AM");
  EXPECT_EQ(tq::TimeMaskFromDeviceFormat(u"h:mm tt"), u"H:MM AM");
  EXPECT_EQ(tq::TimeMaskFromDeviceFormat(u"HH:mm:ss"), u"HH:MM:SS");
  EXPECT_EQ(tq::DateMaskFromDeviceFormat(u"M/d/yyyy"), u"M/J/AAAA");
  EXPECT_EQ(tq::DateMaskFromDeviceFormat(u"dd.MM.yy"), u"JJ.MM.AA");
  EXPECT_EQ(tq::DateMaskFromDeviceFormat(u"dddd d MMMM yyyy"), u"JJJJ J MMMM AAAA");
}

TEST(ReplaceAll, LeftToRightWithoutRescanning) {
  std::u16string s = u"aaa";
  EXPECT_TRUE(tq::ReplaceAll(s, u"a", u"aa"));
  EXPECT_EQ(s, u"aaaaaa");
  EXPECT_FALSE(tq::ReplaceAll(s, u"", u"x"));
  EXPECT_FALSE(tq::ReplaceAll(s, u"b", u"x"));
}

TEST_F(SystemMasksTest, DeviceMasksByLocale) {
  EXPECT_EQ(tq::SystemDateMask(tq::RegionalSettings()), u"JJ/MM/AAAA");
  EXPECT_EQ(tq::SystemTimeMask(tq::RegionalSettings()), u"HH:MM:SS");
  Configure("en-US", "UTC", "2024-03-05T10:00:00");
  EXPECT_EQ(tq::SystemDateMask(tq::RegionalSettings()), u"M/J/AAAA");
  EXPECT_EQ(tq::SystemTimeMask(tq::RegionalSettings()), u"H:MM:SS AM");
  EXPECT_EQ(tq::SystemMask(tq::DateMask(u"", true, u"YYYYMMDDHHmmSS")), u"M/J/AAAA H:mm:SS AM");
  EXPECT_EQ(tq::SystemMask(tq::DateMask(u"", false)), u"H:MM:SS AM");
}

TEST_F(SystemMasksTest, ProjectMasksAndFlags) {
  SettingsOptions o;
  o.hasDate = o.hasTime = true;
  o.dateMask = u"AAAA-MM-JJ";
  o.timeMask = u"HH'mm";
  EXPECT_EQ(tq::SystemDateMask(FakeSettings(o)), u"AAAA-MM-JJ");
  EXPECT_EQ(tq::SystemTimeMask(FakeSettings(o)), u"HH'mm");
  SettingsOptions keeps = o;
  keeps.keepsSystemTimeMask = true;
  EXPECT_EQ(tq::SystemTimeMask(FakeSettings(keeps)), u"HH:MM:SS");
  SettingsOptions system = o;
  system.usesSystemLanguage = true;
  EXPECT_EQ(tq::SystemDateMask(FakeSettings(system)), u"JJ/MM/AAAA");
  system.reversesSystemDateMask = true;
  EXPECT_EQ(tq::SystemDateMask(FakeSettings(system)), u"AAAA/MM/JJ");
  SettingsOptions reversedAlone = o;
  reversedAlone.reversesSystemDateMask = true;  // needs the system language too
  EXPECT_EQ(tq::SystemDateMask(FakeSettings(reversedAlone)), u"AAAA-MM-JJ");
  SettingsOptions empty;
  empty.hasDate = empty.hasTime = true;  // empty project masks do not replace
  EXPECT_EQ(tq::SystemDateMask(FakeSettings(empty)), u"JJ/MM/AAAA");
  EXPECT_EQ(tq::SystemTimeMask(FakeSettings(empty)), u"HH:MM:SS");
}

TEST_F(SystemMasksTest, SpecialMaskNames) {
  EXPECT_EQ(tq::DateMask(u"UseSystemMask", true).DisplayMask(), u"JJ/MM/AAAA");
  EXPECT_EQ(tq::DateMask(u"UseSystemMask", false).DisplayMask(), u"HH:MM:SS");
  EXPECT_EQ(tq::DateMask(u"UseDatePickerDateMask", true).DisplayMask(), u"JJ/MM/AAAA");
  EXPECT_EQ(tq::DateMask(u"UseDatePickerTimeMask", true).DisplayMask(), u"HH:MM:SS");
  EXPECT_EQ(tq::DateMask(u"UseDatePickerDateTimeMask", true, u"YYYYMMDDHHmmSS").DisplayMask(),
            u"JJ/MM/AAAA HH:mm:SS");
  EXPECT_EQ(tq::DateMask(u"usesystemmask", true).DisplayMask(), u"usesystemmask");
  // Settings attached later: "UseSystemMask" is resolved again with the project's masks.
  SettingsOptions o;
  o.hasDate = true;
  o.dateMask = u"JJ.MM.AA";
  tq::DateMask mask(u"UseSystemMask", true);
  mask.AttachSettings(FakeSettings(o));
  EXPECT_EQ(mask.DisplayMask(), u"JJ.MM.AA");
  tq::DateMask picker(u"UseDatePickerDateMask", true);
  picker.AttachSettings(FakeSettings(o));
  EXPECT_EQ(picker.DisplayMask(), u"JJ/MM/AAAA");  // resolved once, at construction
}

}  // namespace

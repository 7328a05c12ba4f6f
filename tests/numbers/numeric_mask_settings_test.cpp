// NumericMask with the application's regional settings: which separators and symbol each
// branch takes, the caller's fixed separators, keyword masks rebuilt from the records, and the
// currency masks of the sixteen negative orders. A fake RegionalSettings object answers the
// number slots; the device is fr-FR.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "datetime/locale_items.h"
#include "numtext/number_settings.h"
#include "numtext/numeric_mask.h"
#include "numtext/numeric_mask_system.h"
#include "platform/device_config.h"

namespace {

struct FakeNumbers : tq::VMObject {
  bool noBreak = false, numberFollows = false, currencyFollows = false;
  bool hasNumber = true, hasCurrency = true;
  tq::NumberFormatRecord number{};
  tq::CurrencyFormatRecord currency{};
};

int gLive = 0;
FakeNumbers& Of(tq::VMObject* self) { return *static_cast<FakeNumbers*>(self); }
int32_t Release(tq::VMObject* self) {
  --gLive;
  delete &Of(self);
  return 0;
}
int32_t NoBreak(tq::VMObject* self) { return Of(self).noBreak; }
const tq::NumberFormatRecord* Number(tq::VMObject* self) {
  return Of(self).hasNumber ? &Of(self).number : nullptr;
}
const tq::CurrencyFormatRecord* Currency(tq::VMObject* self) {
  return Of(self).hasCurrency ? &Of(self).currency : nullptr;
}
int32_t NumberFollows(tq::VMObject* self) { return Of(self).numberFollows; }
int32_t CurrencyFollows(tq::VMObject* self) { return Of(self).currencyFollows; }
int32_t Follows(tq::VMObject*) { return 1; }
const char16_t* NoNames(tq::VMObject*) { return nullptr; }

void* const kSlots[9] = {
    reinterpret_cast<void*>(&Release),       reinterpret_cast<void*>(&NoBreak),
    reinterpret_cast<void*>(&Number),        reinterpret_cast<void*>(&Number),
    reinterpret_cast<void*>(&Currency),      reinterpret_cast<void*>(&NumberFollows),
    reinterpret_cast<void*>(&CurrencyFollows), reinterpret_cast<void*>(&Follows),
    reinterpret_cast<void*>(&NoNames),
};

FakeNumbers* NewFake() {
  auto* f = new FakeNumbers;
  f->slots = kSlots;
  f->number = {3, 0, 0, 0, u",", u" ", 0};
  f->currency = {2, 0, 0, u"_", u"'", 3, 8, u"CHF"};
  ++gLive;
  return f;
}

class NumericMaskSettings : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* base = std::getenv("TQ_TEST_TMP");
    const std::filesystem::path root =
        std::filesystem::path(base && *base ? base : "/tmp") / "numeric-mask-settings";
    std::filesystem::create_directories(root);
    ce::DeviceConfig config;
    config.deviceRoot = root.string();
    config.locale = "fr-FR";
    ce::SetDeviceConfigForTesting(config);
    tq::ResetLocaleItemsForTesting();
  }
  void TearDown() override { EXPECT_EQ(gLive, 0) << "a settings reference was not released"; }
};

TEST_F(NumericMaskSettings, DeviceValuesStartEveryMask) {
  const tq::DeviceNumberValues& device = tq::DeviceNumbers();
  EXPECT_EQ(device.decimal, u',');
  EXPECT_EQ(device.thousands, char16_t{0x00A0});
  EXPECT_EQ(device.symbol, u"€");
  tq::NumericMask mask(u"999 999,99 $");
  EXPECT_EQ(mask.Format(u"1234.5"), u"1\u00A0234,50 €");
}

TEST_F(NumericMaskSettings, NumberBranchTakesTheNumberRecord) {
  FakeNumbers* fake = NewFake();
  fake->noBreak = true;
  tq::NumericMask mask(u"NumSystemMask");
  mask.ApplyRegionalSettings(tq::RegionalSettings(fake), 0);
  EXPECT_EQ(mask.text(), u"(99 999 999 999 999 999,999)");  // negative order 0
  EXPECT_EQ(mask.thousandsSeparator(), char16_t{0xFFA0});
  EXPECT_EQ(mask.Format(u"-1234.5"), u"(1\u00A0234,500)");
  EXPECT_EQ(mask.Format(u"+1234.5"), u"1\u00A0234,500");
}

TEST_F(NumericMaskSettings, CurrencyBranchTakesTheCurrencyRecord) {
  tq::NumericMask money(u"MoneySystemMask$");
  money.ApplyRegionalSettings(tq::RegionalSettings(NewFake()), 0);
  EXPECT_EQ(money.text(), u"+99 999 999 999 999 999,99 $");
  EXPECT_EQ(money.Format(u"-1234.5"), u"-1'234_50 CHF");

  tq::NumericMask forced(u"999 999,99");
  forced.ApplyRegionalSettings(tq::RegionalSettings(NewFake()), tq::maskflag::kCurrencyBranch);
  EXPECT_EQ(forced.Format(u"1234.5"), u"1'234_50");

  tq::NumericMask kept(u"999,99 $");
  kept.ApplyRegionalSettings(tq::RegionalSettings(NewFake()), tq::maskflag::kKeepSymbol);
  EXPECT_EQ(kept.currencySymbol(), u"€");
}

TEST_F(NumericMaskSettings, FixedSeparatorsAndFollowingTheSystem) {
  tq::NumericMask fixed(u"999 999,99");
  fixed.FixSeparators(u'.', u'/');
  fixed.ApplyRegionalSettings(tq::RegionalSettings(NewFake()), 0);
  EXPECT_EQ(fixed.Format(u"1234.5"), u"1.234/50");

  FakeNumbers* follows = NewFake();
  follows->numberFollows = true;
  tq::NumericMask device(u"NumSystemMask");
  device.ApplyRegionalSettings(tq::RegionalSettings(follows), 0);
  EXPECT_EQ(device.text(), u"+99 999 999 999 999 999,99");
  EXPECT_EQ(device.Format(u"-1234.5"), u"-1\u00A0234,50");

  FakeNumbers* none = NewFake();
  none->hasNumber = false;
  tq::NumericMask untouched(u"999 999,99");
  untouched.ApplyRegionalSettings(tq::RegionalSettings(none), 0);
  EXPECT_EQ(untouched.decimalSeparator(), u',');
}

TEST_F(NumericMaskSettings, CurrencyMasksOfEveryNegativeOrder) {
  const std::u16string base = u"99 999 999 999 999 999,99";
  struct Case {
    intptr_t positive, negative;
    std::u16string expected;
  } cases[] = {
      {3, 8, u"+" + base + u" $"},                 // "-n $" is the positive with a sign
      {0, 1, u"+$" + base},
      {0, 0, u"($" + base + u")"},                 // parentheses, one section
      {1, 5, u"+" + base + u"$"},
      {3, 15, u"(" + base + u" $)"},
      {0, 8, u"$" + base + u";-" + base + u" $"},  // different places: two sections
      {2, 99, u"$ " + base + u";"},                // no negative layout
  };
  for (const Case& c : cases) {
    tq::CurrencyFormatRecord record{2, 0, 0, u",", u" ", c.positive, c.negative, u"$"};
    EXPECT_EQ(tq::CurrencyMaskFromRecord(record), c.expected) << c.positive << "/" << c.negative;
  }
}

}  // namespace

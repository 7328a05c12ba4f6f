// The fake RegionalSettings object and the per-test device.
#include "tests/date_formats/test_settings.h"

#include "datetime/locale_items.h"
#include "frame/library_state.h"
#include "platform/device_config.h"
#include "tests/platform/host_files.h"

namespace tqtest {
namespace {

struct FakeObject : tq::VMObject {
  SettingsOptions options;
  tq::TimeSettingsRecord time{};
  tq::DateSettingsRecord date{};
};

int gLive = 0;

FakeObject& Of(tq::VMObject* self) {
  return *static_cast<FakeObject*>(self);
}
const char16_t* Chars(const std::u16string& s) {
  return s.empty() ? nullptr : s.c_str();
}

int32_t Release(tq::VMObject* self) {
  --gLive;
  delete &Of(self);
  return 0;
}
intptr_t Nothing(tq::VMObject*) {
  return 0;
}
int32_t Reverses(tq::VMObject* self) {
  return Of(self).options.reversesSystemDateMask;
}
int32_t Keeps(tq::VMObject* self) {
  return Of(self).options.keepsSystemTimeMask;
}
int32_t SystemLanguage(tq::VMObject* self) {
  return Of(self).options.usesSystemLanguage;
}
const tq::TimeSettingsRecord* Time(tq::VMObject* self) {
  return Of(self).options.hasTime ? &Of(self).time : nullptr;
}
const tq::DateSettingsRecord* Date(tq::VMObject* self) {
  return Of(self).options.hasDate ? &Of(self).date : nullptr;
}

void* const kSlots[tq::regionalslot::kSlotCount] = {
    reinterpret_cast<void*>(&Release), reinterpret_cast<void*>(&Nothing),
    reinterpret_cast<void*>(&Nothing), reinterpret_cast<void*>(&Nothing),
    reinterpret_cast<void*>(&Nothing), reinterpret_cast<void*>(&Nothing),
    reinterpret_cast<void*>(&Nothing), reinterpret_cast<void*>(&Nothing),
    reinterpret_cast<void*>(&Nothing), reinterpret_cast<void*>(&Reverses),
    reinterpret_cast<void*>(&Time),    reinterpret_cast<void*>(&Date),
    reinterpret_cast<void*>(&Keeps),   reinterpret_cast<void*>(&SystemLanguage),
    reinterpret_cast<void*>(&Nothing),
};

std::string gRoot;

}  // namespace

tq::RegionalSettings FakeSettings(const SettingsOptions& options) {
  auto* object = new FakeObject;
  object->slots = kSlots;
  object->options = options;
  const SettingsOptions& o = object->options;
  object->time = {Chars(o.am), Chars(o.pm), Chars(o.timeMask)};
  object->date = {Chars(o.dateMask), Chars(o.dayNames), Chars(o.monthNames)};
  ++gLive;
  return tq::RegionalSettings(object);
}

int FakeSettingsLive() {
  return gLive;
}

void DateFormatTest::SetUp() {
  if (gRoot.empty()) gRoot = MakeTestFolder("date-formats");
  ASSERT_FALSE(gRoot.empty());
  Configure("fr-FR", "UTC", "2024-03-05T10:00:00");
  UseMessageLanguage(12);
}

void DateFormatTest::TearDown() {
  EXPECT_EQ(FakeSettingsLive(), 0) << "a settings reference was not released";
  ce::ResetDeviceConfigForTesting();
  tq::ResetLocaleItemsForTesting();
}

void DateFormatTest::Configure(const char* locale, const char* zone, const char* clock) {
  ce::DeviceConfig config;
  config.deviceRoot = gRoot;
  config.locale = locale;
  config.timeZone = zone;
  config.frozenClock = ce::ParseClockSetting(clock);
  config.frozenClockSetting = clock;
  ce::SetDeviceConfigForTesting(config);
  tq::ResetLocaleItemsForTesting();
}

void DateFormatTest::UseMessageLanguage(int code) {
  tq::Library().languageCode = code;
}

}  // namespace tqtest

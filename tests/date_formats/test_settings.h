// Test doubles for the date-format workers: a RegionalSettings object with the VM's slot
// layout whose options each test sets, and a simulated device (locale, clock, zone) per test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "datetime/date_mask_settings.h"

namespace tqtest {

// Options of a fake RegionalSettings object; an empty text is a null text in the records.
struct SettingsOptions {
  bool reversesSystemDateMask = false;
  bool keepsSystemTimeMask = false;
  bool usesSystemLanguage = false;
  bool hasTime = false, hasDate = false;
  std::u16string am, pm, timeMask, dateMask, dayNames, monthNames;
};

// A settings reference to a fresh fake object (released like the VM's); Releases() counts
// the releases of every fake so far.
tq::RegionalSettings FakeSettings(const SettingsOptions& options);
int FakeSettingsLive();

// Each test runs on a device of its own: fr-FR, zone UTC, clock frozen at 2024-03-05 10:00,
// French messages. Tests change these with Configure().
class DateFormatTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void Configure(const char* locale, const char* zone, const char* clock);
  void UseMessageLanguage(int code);
};

}  // namespace tqtest

// The RegionalSettings object the VM stand-in hands to the library (VM services 258 and 111),
// built from the --settings JSON file. Without the file the VM has no settings and both
// services answer null.
//
// The object has the slot layout of datetime/date_mask_settings.h: release, eight slots for
// the number, currency and size-unit records (host/regional_number_settings.h), then the date,
// time and duration options. Its reference count is atomic; the library releases every
// reference a service gave it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frame/vm_object.h"
#include "host/json.h"
#include "host/regional_number_settings.h"

namespace tqhost {

struct RegionalSettingsData {
  bool reversesSystemDateMask = false;
  bool keepsSystemTimeMask = false;
  bool usesSystemLanguage = false;
  bool hasTime = false, hasDate = false, hasDuration = false;
  std::u16string amText, pmText, timeMask;
  std::u16string dateMask, dayNames, monthNames;  // names separated by ';'
  std::u16string durationMask;
  NumberSettingsData numbers;
};

// Reads the --settings document; false with a message naming the member at fault.
bool ReadRegionalSettings(const JsonValue& document, RegionalSettingsData& data,
                          std::string* error);

// The settings object of the VM (one per process), with one more reference for the caller;
// null when there is no --settings file or it cannot be used (reported once on standard
// error).
tq::VMObject* AcquireRegionalSettings();

// References held now by the library (leak checks).
int32_t RegionalSettingsReferences();

}  // namespace tqhost

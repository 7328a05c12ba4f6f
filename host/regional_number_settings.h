// The number, currency and size-unit records of the VM's RegionalSettings object (slots 1..8),
// read from the --settings file's members "number", "currency", "thousands_no_break" and
// "size_units".
#pragma once

#include <cstdint>
#include <string>

#include "host/json.h"
#include "numtext/number_settings.h"

namespace tqhost {

struct NumberSettingsData {
  bool hasNumber = false, hasCurrency = false;
  int64_t numberDecimals = 2, numberNegativeOrder = 1;
  std::u16string numberDecimal, numberThousands;
  bool numberFollowsSystem = false;
  int64_t currencyDecimals = 2, currencyPositiveOrder = 3, currencyNegativeOrder = 8;
  std::u16string currencyDecimal, currencyThousands, currencySymbol;
  bool currencyFollowsSystem = false;
  bool thousandsNoBreak = false;
  bool hasSizeUnits = false;
  std::u16string sizeUnitNames;  // six names separated by ';'
  bool sizeUnitsFollowSystem = false;
  // The records handed to the library (texts point into the strings above).
  tq::NumberFormatRecord number{};
  tq::CurrencyFormatRecord currency{};
};

// True when `name` is one of the members above; then reads it (false with a message on a
// member of the wrong kind).
bool IsNumberMember(const std::string& name);
bool ReadNumberMember(const JsonMember& member, NumberSettingsData& data, std::string* error);

// Fills the records once the strings are final.
void BuildNumberRecords(NumberSettingsData& data);

// The slot operations 1..8 over the settings object whose number data `of` returns.
using NumberDataOf = NumberSettingsData& (*)(tq::VMObject*);
void InstallNumberSlots(void** slots, NumberDataOf of);

}  // namespace tqhost

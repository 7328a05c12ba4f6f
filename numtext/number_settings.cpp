// Reading the number slots of the VM's RegionalSettings object.
#include "numtext/number_settings.h"

namespace tq {
namespace {

bool Flag(const RegionalSettings& r, int slot, bool absent) {
  return r ? CallSlot<int32_t>(r.object(), slot) != 0 : absent;
}

template <typename R>
const R* Record(const RegionalSettings& r, int slot) {
  return r ? CallSlot<const R*>(r.object(), slot) : nullptr;
}

}  // namespace

bool ThousandsIsNoBreakSpace(const RegionalSettings& r) {
  return Flag(r, numberslot::kThousandsIsNoBreakSpace, false);
}
const NumberFormatRecord* CurrentNumberFormat(const RegionalSettings& r) {
  return Record<NumberFormatRecord>(r, numberslot::kCurrentNumberFormat);
}
const NumberFormatRecord* NumberFormat(const RegionalSettings& r) {
  return Record<NumberFormatRecord>(r, numberslot::kNumberFormat);
}
const CurrencyFormatRecord* CurrencyFormat(const RegionalSettings& r) {
  return Record<CurrencyFormatRecord>(r, numberslot::kCurrencyFormat);
}
bool NumberFollowsSystem(const RegionalSettings& r) {
  return Flag(r, numberslot::kNumberFollowsSystem, true);
}
bool CurrencyFollowsSystem(const RegionalSettings& r) {
  return Flag(r, numberslot::kCurrencyFollowsSystem, true);
}
bool SizeUnitsFollowSystem(const RegionalSettings& r) {
  return Flag(r, numberslot::kSizeUnitsFollowSystem, true);
}
std::u16string_view SizeUnitNames(const RegionalSettings& r) {
  return RecordText(Record<char16_t>(r, numberslot::kSizeUnitNames));
}

}  // namespace tq

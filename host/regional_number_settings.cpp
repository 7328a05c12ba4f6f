// Number and currency records of the VM's RegionalSettings object.
#include "host/regional_number_settings.h"

#include "host/host_value.h"

namespace tqhost {
namespace {

NumberDataOf gDataOf = nullptr;

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

bool Flag(const JsonValue& v, const std::string& name, bool& out, std::string* error) {
  if (v.kind != JsonValue::Kind::kBoolean) return Fail(error, name + ": true or false expected");
  out = v.boolean;
  return true;
}

bool Integer(const JsonValue& v, const std::string& name, int64_t low, int64_t high, int64_t& out,
             std::string* error) {
  if (v.kind != JsonValue::Kind::kNumber || !v.integral || v.integer < low || v.integer > high)
    return Fail(error, name + ": a whole number from " + std::to_string(low) + " to " +
                           std::to_string(high) + " expected");
  out = v.integer;
  return true;
}

bool Text(const JsonValue& v, const std::string& name, std::u16string& out, std::string* error) {
  if (v.kind != JsonValue::Kind::kString) return Fail(error, name + ": a string expected");
  out = FromUtf8(v.text);
  return true;
}

// Six names: one string with ';' between them, or an array of strings.
bool Names(const JsonValue& v, const std::string& name, std::u16string& out, std::string* error) {
  if (v.kind != JsonValue::Kind::kArray) return Text(v, name, out, error);
  out.clear();
  for (size_t i = 0; i < v.elements.size(); ++i) {
    std::u16string one;
    if (!Text(v.elements[i], name, one, error)) return false;
    if (i > 0) out += u';';
    out += one;
  }
  return true;
}

bool ReadRecord(const JsonValue& group, const std::string& name, NumberSettingsData& d,
                std::string* error) {
  if (group.kind != JsonValue::Kind::kObject) return Fail(error, name + ": an object expected");
  const bool number = name == "number";
  for (const JsonMember& m : group.members) {
    const std::string path = name + "." + m.name;
    bool ok;
    if (m.name == "decimals")
      ok = Integer(m.value, path, 0, 9, number ? d.numberDecimals : d.currencyDecimals, error);
    else if (m.name == "decimal_separator")
      ok = Text(m.value, path, number ? d.numberDecimal : d.currencyDecimal, error);
    else if (m.name == "thousands_separator")
      ok = Text(m.value, path, number ? d.numberThousands : d.currencyThousands, error);
    else if (m.name == "negative_order")
      ok = Integer(m.value, path, 0, number ? 4 : 15,
                   number ? d.numberNegativeOrder : d.currencyNegativeOrder, error);
    else if (m.name == "follows_system")
      ok = Flag(m.value, path, number ? d.numberFollowsSystem : d.currencyFollowsSystem, error);
    else if (!number && m.name == "positive_order")
      ok = Integer(m.value, path, 0, 3, d.currencyPositiveOrder, error);
    else if (!number && m.name == "symbol")
      ok = Text(m.value, path, d.currencySymbol, error);
    else
      ok = Fail(error, "unknown member " + path);
    if (!ok) return false;
  }
  return true;
}

bool ReadSizeUnits(const JsonValue& group, NumberSettingsData& d, std::string* error) {
  if (group.kind != JsonValue::Kind::kObject) return Fail(error, "size_units: an object expected");
  for (const JsonMember& m : group.members) {
    const std::string path = "size_units." + m.name;
    bool ok;
    if (m.name == "names")
      ok = Names(m.value, path, d.sizeUnitNames, error);
    else if (m.name == "follows_system")
      ok = Flag(m.value, path, d.sizeUnitsFollowSystem, error);
    else
      ok = Fail(error, "unknown member " + path);
    if (!ok) return false;
  }
  return true;
}

const char16_t* Chars(const std::u16string& s) { return s.empty() ? nullptr : s.c_str(); }

NumberSettingsData& Data(tq::VMObject* self) { return gDataOf(self); }

int32_t NoBreak(tq::VMObject* self) { return Data(self).thousandsNoBreak; }
const tq::NumberFormatRecord* Number(tq::VMObject* self) {
  return Data(self).hasNumber ? &Data(self).number : nullptr;
}
const tq::CurrencyFormatRecord* Currency(tq::VMObject* self) {
  return Data(self).hasCurrency ? &Data(self).currency : nullptr;
}
int32_t NumberFollows(tq::VMObject* self) {
  return !Data(self).hasNumber || Data(self).numberFollowsSystem;
}
int32_t CurrencyFollows(tq::VMObject* self) {
  return !Data(self).hasCurrency || Data(self).currencyFollowsSystem;
}
int32_t SizeUnitsFollow(tq::VMObject* self) {
  return !Data(self).hasSizeUnits || Data(self).sizeUnitsFollowSystem;
}
const char16_t* SizeUnits(tq::VMObject* self) { return Chars(Data(self).sizeUnitNames); }

}  // namespace

bool IsNumberMember(const std::string& name) {
  return name == "number" || name == "currency" || name == "thousands_no_break" ||
         name == "size_units";
}

bool ReadNumberMember(const JsonMember& m, NumberSettingsData& d, std::string* error) {
  if (m.name == "thousands_no_break") return Flag(m.value, m.name, d.thousandsNoBreak, error);
  if (m.name == "size_units") {
    d.hasSizeUnits = true;
    return ReadSizeUnits(m.value, d, error);
  }
  (m.name == "number" ? d.hasNumber : d.hasCurrency) = true;
  return ReadRecord(m.value, m.name, d, error);
}

void BuildNumberRecords(NumberSettingsData& d) {
  d.number = {};
  d.number.decimals = static_cast<intptr_t>(d.numberDecimals);
  d.number.decimalSeparator = Chars(d.numberDecimal);
  d.number.thousandsSeparator = Chars(d.numberThousands);
  d.number.negativeOrder = static_cast<intptr_t>(d.numberNegativeOrder);
  d.currency = {};
  d.currency.decimals = static_cast<intptr_t>(d.currencyDecimals);
  d.currency.decimalSeparator = Chars(d.currencyDecimal);
  d.currency.thousandsSeparator = Chars(d.currencyThousands);
  d.currency.positiveOrder = static_cast<intptr_t>(d.currencyPositiveOrder);
  d.currency.negativeOrder = static_cast<intptr_t>(d.currencyNegativeOrder);
  d.currency.symbol = Chars(d.currencySymbol);
}

void InstallNumberSlots(void** slots, NumberDataOf of) {
  namespace slot = tq::numberslot;
  gDataOf = of;
  slots[slot::kThousandsIsNoBreakSpace] = reinterpret_cast<void*>(&NoBreak);
  slots[slot::kCurrentNumberFormat] = reinterpret_cast<void*>(&Number);
  slots[slot::kNumberFormat] = reinterpret_cast<void*>(&Number);
  slots[slot::kCurrencyFormat] = reinterpret_cast<void*>(&Currency);
  slots[slot::kNumberFollowsSystem] = reinterpret_cast<void*>(&NumberFollows);
  slots[slot::kCurrencyFollowsSystem] = reinterpret_cast<void*>(&CurrencyFollows);
  slots[slot::kSizeUnitsFollowSystem] = reinterpret_cast<void*>(&SizeUnitsFollow);
  slots[slot::kSizeUnitNames] = reinterpret_cast<void*>(&SizeUnits);
}

}  // namespace tqhost

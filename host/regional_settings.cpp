// The VM's RegionalSettings object, built from --settings.
#include "host/regional_settings.h"

#include <atomic>
#include <cstdio>

#include "datetime/date_mask_settings.h"
#include "host/host_value.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

using tq::VMObject;

struct SettingsObject : VMObject {
  std::atomic<int32_t> references{0};
  RegionalSettingsData data;
  tq::TimeSettingsRecord time{};
  tq::DateSettingsRecord date{};
  tq::DurationSettingsRecord duration{};
};

SettingsObject& Of(VMObject* self) {
  return *static_cast<SettingsObject*>(self);
}

int32_t Release(VMObject* self) {
  return --Of(self).references;
}
int32_t ReversesSystemDateMask(VMObject* self) {
  return Of(self).data.reversesSystemDateMask;
}
int32_t KeepsSystemTimeMask(VMObject* self) {
  return Of(self).data.keepsSystemTimeMask;
}
int32_t UsesSystemLanguage(VMObject* self) {
  return Of(self).data.usesSystemLanguage;
}
const tq::TimeSettingsRecord* TimeSettings(VMObject* self) {
  return Of(self).data.hasTime ? &Of(self).time : nullptr;
}
const tq::DateSettingsRecord* DateSettings(VMObject* self) {
  return Of(self).data.hasDate ? &Of(self).date : nullptr;
}
const tq::DurationSettingsRecord* DurationSettings(VMObject* self) {
  return Of(self).data.hasDuration ? &Of(self).duration : nullptr;
}

NumberSettingsData& NumbersOf(VMObject* self) {
  return Of(self).data.numbers;
}

// Slots 1..8 are filled by InstallNumberSlots.
void* gSlots[tq::regionalslot::kSlotCount] = {
    reinterpret_cast<void*>(&Release),
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    reinterpret_cast<void*>(&ReversesSystemDateMask),
    reinterpret_cast<void*>(&TimeSettings),
    reinterpret_cast<void*>(&DateSettings),
    reinterpret_cast<void*>(&KeepsSystemTimeMask),
    reinterpret_cast<void*>(&UsesSystemLanguage),
    reinterpret_cast<void*>(&DurationSettings),
};

const char16_t* Chars(const std::u16string& s) {
  return s.empty() ? nullptr : s.c_str();
}

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

bool ReadFlag(const JsonValue& v, const std::string& name, bool& out, std::string* error) {
  if (v.kind != JsonValue::Kind::kBoolean) return Fail(error, name + ": true or false expected");
  out = v.boolean;
  return true;
}

bool ReadText(const JsonValue& v, const std::string& name, std::u16string& out,
              std::string* error) {
  if (v.kind != JsonValue::Kind::kString) return Fail(error, name + ": a string expected");
  out = FromUtf8(v.text);
  return true;
}

// A name list: one string with ';' between the names, or an array of strings.
bool ReadNames(const JsonValue& v, const std::string& name, std::u16string& out,
               std::string* error) {
  if (v.kind != JsonValue::Kind::kArray) return ReadText(v, name, out, error);
  out.clear();
  for (size_t i = 0; i < v.elements.size(); ++i) {
    std::u16string one;
    if (!ReadText(v.elements[i], name + "[" + std::to_string(i) + "]", one, error)) return false;
    if (one.find(u';') != std::u16string::npos)
      return Fail(error, name + ": a name cannot contain ';'");
    if (i > 0) out += u';';
    out += one;
  }
  return true;
}

bool ReadGroup(const JsonValue& group, const std::string& name, RegionalSettingsData& d,
               std::string* error) {
  if (group.kind != JsonValue::Kind::kObject) return Fail(error, name + ": an object expected");
  for (const JsonMember& m : group.members) {
    const std::string path = name + "." + m.name;
    bool ok;
    if (name == "time" && m.name == "am")
      ok = ReadText(m.value, path, d.amText, error);
    else if (name == "time" && m.name == "pm")
      ok = ReadText(m.value, path, d.pmText, error);
    else if (name == "time" && m.name == "mask")
      ok = ReadText(m.value, path, d.timeMask, error);
    else if (name == "date" && m.name == "mask")
      ok = ReadText(m.value, path, d.dateMask, error);
    else if (name == "date" && m.name == "day_names")
      ok = ReadNames(m.value, path, d.dayNames, error);
    else if (name == "date" && m.name == "month_names")
      ok = ReadNames(m.value, path, d.monthNames, error);
    else if (name == "duration" && m.name == "mask")
      ok = ReadText(m.value, path, d.durationMask, error);
    else
      ok = Fail(error, "unknown member " + path);
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool ReadRegionalSettings(const JsonValue& document, RegionalSettingsData& d, std::string* error) {
  if (document.kind != JsonValue::Kind::kObject)
    return Fail(error, "the settings must be a JSON object");
  for (const JsonMember& m : document.members) {
    bool ok;
    if (m.name == "reverses_system_date_mask") {
      ok = ReadFlag(m.value, m.name, d.reversesSystemDateMask, error);
    } else if (m.name == "keeps_system_time_mask") {
      ok = ReadFlag(m.value, m.name, d.keepsSystemTimeMask, error);
    } else if (m.name == "uses_system_language") {
      ok = ReadFlag(m.value, m.name, d.usesSystemLanguage, error);
    } else if (IsNumberMember(m.name)) {
      ok = ReadNumberMember(m, d.numbers, error);
    } else if (m.name == "time" || m.name == "date" || m.name == "duration") {
      ok = ReadGroup(m.value, m.name, d, error);
      (m.name == "time" ? d.hasTime : m.name == "date" ? d.hasDate : d.hasDuration) = true;
    } else {
      ok = Fail(error, "unknown member " + m.name);
    }
    if (!ok) return false;
  }
  return true;
}

tq::VMObject* AcquireRegionalSettings() {
  static SettingsObject* const settings = []() -> SettingsObject* {
    const std::optional<JsonValue>& document = CurrentVMConfig().settings;
    if (!document) return nullptr;
    auto* s = new SettingsObject;  // lives as long as the VM
    std::string why;
    if (!ReadRegionalSettings(*document, s->data, &why)) {
      std::fprintf(stderr, "tq240: the settings file cannot be used: %s\n", why.c_str());
      delete s;
      return nullptr;
    }
    InstallNumberSlots(gSlots, &NumbersOf);
    BuildNumberRecords(s->data.numbers);
    s->slots = gSlots;
    const RegionalSettingsData& d = s->data;
    s->time = {Chars(d.amText), Chars(d.pmText), Chars(d.timeMask)};
    s->date = {Chars(d.dateMask), Chars(d.dayNames), Chars(d.monthNames)};
    s->duration = {Chars(d.durationMask)};
    return s;
  }();
  if (settings == nullptr) return nullptr;
  ++settings->references;
  return settings;
}

int32_t RegionalSettingsReferences() {
  VMObject* probe = AcquireRegionalSettings();
  if (probe == nullptr) return 0;
  return Release(probe);
}

}  // namespace tqhost

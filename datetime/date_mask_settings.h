// The VM's RegionalSettings object as the date, time and duration masks read it: its slot
// numbers, the records it hands out, and an owning reference that releases the object when
// the call that obtained it ends.
//
// Slot layout (the VM calls none of these; the library calls them on the VM's object):
//   0 release
//   1..8 the number-format operations of the numeric masks (no-break thousands separator,
//        current number format, number format, currency format, number format follows the
//        system, currency format follows the system, size units follow the system, size unit
//        names)
//   9 ReversesSystemDateMask, 10 TimeSettings, 11 DateSettings, 12 KeepsSystemTimeMask,
//   13 UsesSystemLanguage, 14 DurationSettings
// The flags return a 32-bit truth value; the record operations return a pointer to a record
// that the object owns (or null), valid while the object is referenced. Texts in the records
// are zero-terminated UTF-16 and may be null (an empty text).
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/vm_object.h"

namespace tq {

struct CallContext;

namespace regionalslot {
inline constexpr int kRelease = 0;
inline constexpr int kFirstNumberSlot = 1;  // 1..8: numeric masks
inline constexpr int kReversesSystemDateMask = 9;
inline constexpr int kTimeSettings = 10;
inline constexpr int kDateSettings = 11;
inline constexpr int kKeepsSystemTimeMask = 12;
inline constexpr int kUsesSystemLanguage = 13;
inline constexpr int kDurationSettings = 14;
inline constexpr int kSlotCount = 15;
}  // namespace regionalslot

// The project's time options: AM and PM texts and the project time mask.
struct TimeSettingsRecord {
  const char16_t* amText;
  const char16_t* pmText;
  const char16_t* timeMask;
};

// The project's date options: the date mask, seven day names from Monday and twelve month
// names from January, each list one text with the names separated by ';'.
struct DateSettingsRecord {
  const char16_t* dateMask;
  const char16_t* dayNames;
  const char16_t* monthNames;
};

struct DurationSettingsRecord {
  const char16_t* durationMask;
};

// A text of a record as a view (null is empty).
inline std::u16string_view RecordText(const char16_t* text) {
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

// One reference to a RegionalSettings object, released on destruction. A null reference
// answers every question as "no settings" (flags false, records null).
//
// The reference of a call is asked of the VM when a question first needs it, not when the
// entry starts: most masks read no settings at all, and a call then costs no VM round trip.
// Such a reference lives within its call (it keeps the call's services object until asked).
class RegionalSettings {
 public:
  RegionalSettings() = default;
  explicit RegionalSettings(VMObject* object) : object_(object) {}
  RegionalSettings(const RegionalSettings&) = delete;
  RegionalSettings& operator=(const RegionalSettings&) = delete;
  RegionalSettings(RegionalSettings&& other) noexcept
      : object_(other.object_), services_(other.services_) {
    other.object_ = nullptr;
    other.services_ = nullptr;
  }
  RegionalSettings& operator=(RegionalSettings&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = other.object_;
      services_ = other.services_;
      other.object_ = nullptr;
      other.services_ = nullptr;
    }
    return *this;
  }
  ~RegionalSettings() { reset(); }

  // The settings of the call in progress (VM service 258); null when the VM has none.
  static RegionalSettings OfCall(CallContext* context);

  explicit operator bool() const { return object() != nullptr; }
  VMObject* object() const {
    if (services_ != nullptr) Ask();
    return object_;
  }
  void reset() {
    if (object_ != nullptr) Release();
    object_ = nullptr;
    services_ = nullptr;
  }

  bool ReversesSystemDateMask() const { return Flag(regionalslot::kReversesSystemDateMask); }
  bool KeepsSystemTimeMask() const { return Flag(regionalslot::kKeepsSystemTimeMask); }
  bool UsesSystemLanguage() const { return Flag(regionalslot::kUsesSystemLanguage); }
  const TimeSettingsRecord* TimeSettings() const {
    return Record<TimeSettingsRecord>(regionalslot::kTimeSettings);
  }
  const DateSettingsRecord* DateSettings() const {
    return Record<DateSettingsRecord>(regionalslot::kDateSettings);
  }
  const DurationSettingsRecord* DurationSettings() const {
    return Record<DurationSettingsRecord>(regionalslot::kDurationSettings);
  }

 private:
  void Ask() const;  // obtains the reference from the call's services
  void Release();  // calls the VM's release slot
  bool Flag(int slot) const {
    VMObject* o = object();
    return o != nullptr && CallSlot<int32_t>(o, slot) != 0;
  }
  template <typename R>
  const R* Record(int slot) const {
    VMObject* o = object();
    return o != nullptr ? CallSlot<const R*>(o, slot) : nullptr;
  }

  // Both change once, when the reference is first needed; a reference is used by one call.
  mutable VMObject* object_ = nullptr;
  mutable VMObject* services_ = nullptr;  // the call's services while not yet asked
};

}  // namespace tq

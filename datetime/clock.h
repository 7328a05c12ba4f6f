// The library's view of the device clock: today's date text, the current time text read
// through the precise local clock, and setting the device's date or time of day from texts.
//
// The device's local time has a coarse millisecond field, so the precise clock derives the
// milliseconds from the tick counter: it keeps the tick count T0 and the local time of day M0
// (milliseconds since midnight) of its last synchronisation and answers M0 + (T - T0), as long
// as that stays within the day and within 2 seconds of the device's own reading; otherwise it
// synchronises again. The two values are process-wide and unlocked (relaxed atomics):
// concurrent callers can at worst synchronise twice.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/windows_types.h"

namespace tq {

struct CallContext;
struct ComponentProxy;

// The device's local time with milliseconds from the precise clock; the date fields are the
// device's.
void ReadPreciseLocalTime(ce::SYSTEMTIME& time);

// The precise clock's arithmetic, for tests: one reading of the device (local time of day in
// milliseconds and tick count) gives the time of day answered, updating the synchronisation.
struct PreciseClockState {
  uint32_t syncTick = 0;
  uint32_t syncTimeOfDay = 0;
  bool tickSet = false;
  bool timeSet = false;
};
uint32_t AdvancePreciseClock(PreciseClockState& state, uint32_t timeOfDayMs, uint32_t tick);

// "%04d%02d%02d" of the device's local date.
std::u16string CurrentDateText();

// "HHMMSSCC" of now: the VM's answer to GetEnvironmentValue kind 9 when it gives one (and a
// context is given), else the precise clock. `moment`, when given, receives the record used.
std::u16string CurrentTimeText(CallContext* context, ce::SYSTEMTIME* moment = nullptr);

// Set the device's local date (keeping the time of day) or time of day (keeping the date) from
// a date or time text. Parse errors are raised on `errors`; a refusal of the device clock is
// recorded there as a system error. True when the clock was changed.
bool SetDeviceDate(std::u16string_view dateText, ComponentProxy* errors);
bool SetDeviceTime(std::u16string_view timeText, ComponentProxy* errors);

}  // namespace tq

// The precise local clock, the current date and time texts, and setting the device clock.
#include "datetime/clock.h"

#include <atomic>

#include "datetime/date_values.h"
#include "frame/call_context.h"
#include "frame/raise_error.h"
#include "platform/device_clock.h"
#include "platform/last_error.h"
#include "platform/tick_count.h"

namespace tq {
namespace {

constexpr uint32_t kMsPerDay = 86400000;
constexpr uint32_t kMaxDrift = 2000;
constexpr int32_t kEnvironmentCurrentTime = 9;

// The process-wide synchronisation values.
std::atomic<uint32_t> gSyncTick{0};
std::atomic<uint32_t> gSyncTimeOfDay{0};
std::atomic<bool> gTickSet{false};
std::atomic<bool> gTimeSet{false};

uint32_t TimeOfDayMs(const ce::SYSTEMTIME& t) {
  return ((t.wHour * 60u + t.wMinute) * 60u + t.wSecond) * 1000u + t.wMilliseconds;
}

}  // namespace

uint32_t AdvancePreciseClock(PreciseClockState& s, uint32_t timeOfDayMs, uint32_t tick) {
  if (!s.tickSet) {
    s.syncTick = tick;
    s.tickSet = true;
  }
  if (!s.timeSet) {
    s.syncTimeOfDay = timeOfDayMs;
    s.timeSet = true;
  }
  const uint64_t candidate = static_cast<uint64_t>(s.syncTimeOfDay) + (tick - s.syncTick);
  const int64_t drift = static_cast<int64_t>(candidate) - static_cast<int64_t>(timeOfDayMs);
  if (candidate > kMsPerDay || drift > kMaxDrift || drift < -static_cast<int64_t>(kMaxDrift)) {
    s.syncTick = tick;
    s.syncTimeOfDay = timeOfDayMs;
    return timeOfDayMs;
  }
  return static_cast<uint32_t>(candidate);
}

void ReadPreciseLocalTime(ce::SYSTEMTIME& time) {
  ce::GetLocalTime(&time);
  const uint32_t tick = ce::GetTickCount();
  PreciseClockState state{
      gSyncTick.load(std::memory_order_relaxed), gSyncTimeOfDay.load(std::memory_order_relaxed),
      gTickSet.load(std::memory_order_relaxed), gTimeSet.load(std::memory_order_relaxed)};
  uint32_t ms = AdvancePreciseClock(state, TimeOfDayMs(time), tick);
  gSyncTick.store(state.syncTick, std::memory_order_relaxed);
  gSyncTimeOfDay.store(state.syncTimeOfDay, std::memory_order_relaxed);
  gTickSet.store(true, std::memory_order_relaxed);
  gTimeSet.store(true, std::memory_order_relaxed);
  // The candidate may equal the end of the day exactly; the record cannot say 24:00.
  if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  time.wHour = static_cast<ce::WORD>(ms / 3600000);
  time.wMinute = static_cast<ce::WORD>(ms / 60000 % 60);
  time.wSecond = static_cast<ce::WORD>(ms / 1000 % 60);
  time.wMilliseconds = static_cast<ce::WORD>(ms % 1000);
}

std::u16string CurrentDateText() {
  ce::SYSTEMTIME now;
  ce::GetLocalTime(&now);
  return FormatDateText(now.wYear, now.wMonth, now.wDay);
}

std::u16string CurrentTimeText(CallContext* context, ce::SYSTEMTIME* moment) {
  ce::SYSTEMTIME now{};
  if (context == nullptr || GetEnvironmentValue(context, kEnvironmentCurrentTime, &now) != 0)
    ReadPreciseLocalTime(now);
  if (moment != nullptr) *moment = now;
  return FormatTimeText(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds / 10);
}

namespace {

bool SetLocalClock(const ce::SYSTEMTIME& time, ComponentProxy* errors) {
  if (ce::SetLocalTime(&time)) return true;
  if (errors != nullptr) RecordSystemError(errors, ce::GetLastError());
  return false;
}

}  // namespace

bool SetDeviceDate(std::u16string_view dateText, ComponentProxy* errors) {
  CivilDate date;
  if (!ParseDateText(dateText, date, errors)) return false;
  ce::SYSTEMTIME now;
  ce::GetLocalTime(&now);
  now.wYear = static_cast<ce::WORD>(date.year);
  now.wMonth = static_cast<ce::WORD>(date.month);
  now.wDay = static_cast<ce::WORD>(date.day);
  return SetLocalClock(now, errors);
}

bool SetDeviceTime(std::u16string_view timeText, ComponentProxy* errors) {
  TimeOfDay time;
  if (!ParseTimeText(timeText, time, errors)) return false;
  ce::SYSTEMTIME now;
  ce::GetLocalTime(&now);
  now.wHour = static_cast<ce::WORD>(time.hour);
  now.wMinute = static_cast<ce::WORD>(time.minute);
  now.wSecond = static_cast<ce::WORD>(time.second);
  now.wMilliseconds = static_cast<ce::WORD>(time.centisecond * 10);
  return SetLocalClock(now, errors);
}

}  // namespace tq

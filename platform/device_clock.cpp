// The device clock over the host's real-time clock, the device zone rule and the clock file.
#include "platform/device_clock.h"

#include <time.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/civil_time.h"
#include "platform/clock_store.h"
#include "platform/device_config.h"
#include "platform/device_path.h"
#include "platform/last_error.h"
#include "platform/tz_database.h"

namespace ce {
namespace {

// Serialises the read-modify-write of the clock file among this process's threads.
std::mutex gSetClockMutex;

std::mutex gZoneMutex;
std::string gZoneKey;                       // guarded by gZoneMutex
std::shared_ptr<const ZoneRule> gZoneRule;  // guarded by gZoneMutex

int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int64_t HostUtcNowMs() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int64_t UtcToLocalMs(const ZoneRule& rule, int64_t utcMs) {
  const int64_t seconds = FloorDiv(utcMs, 1000);
  return utcMs + (UtcToLocalSeconds(rule, seconds) - seconds) * 1000;
}

int64_t LocalToUtcMs(const ZoneRule& rule, int64_t localMs) {
  const int64_t seconds = FloorDiv(localMs, 1000);
  return localMs + (LocalToUtcSeconds(rule, seconds) - seconds) * 1000;
}

struct ClockReading {
  int64_t utcMs;
  int64_t localMs;
};

ClockReading ReadDeviceClock() {
  const std::shared_ptr<const DeviceConfig> config = CurrentDeviceConfig();
  const std::shared_ptr<const ZoneRule> rule = DeviceZoneRule();
  const StoredClock stored = LoadStoredClock(DeviceRoot());
  if (config->frozenClock) {
    SYSTEMTIME frozen = *config->frozenClock;
    if (stored.frozenValue && stored.frozenBase == config->frozenClockSetting) {
      frozen = *stored.frozenValue;
    }
    const int64_t localMs = SystemTimeToUnixMs(frozen);
    return {LocalToUtcMs(*rule, localMs), localMs};
  }
  const int64_t utcMs = HostUtcNowMs() + stored.offsetMs;
  return {utcMs, UtcToLocalMs(*rule, utcMs)};
}

SYSTEMTIME ToSystemTimeClamped(int64_t ms) {
  if (std::optional<SYSTEMTIME> time = UnixMsToSystemTime(ms)) return *time;
  // Only a corrupted clock file can push the clock outside the device's range.
  return *UnixMsToSystemTime(
      ms < 0 ? SystemTimeToUnixMs(SYSTEMTIME{1601, 1, 0, 1, 0, 0, 0, 0})
             : SystemTimeToUnixMs(SYSTEMTIME{30827, 12, 0, 31, 23, 59, 59, 999}));
}

// Stores a new device time given as both UTC and local milliseconds.
BOOL StoreDeviceTime(int64_t utcMs, int64_t localMs) {
  std::optional<SYSTEMTIME> local = UnixMsToSystemTime(localMs);
  if (!local || !UnixMsToSystemTime(utcMs)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::shared_ptr<const DeviceConfig> config = CurrentDeviceConfig();
  const std::string root = DeviceRoot();
  std::lock_guard<std::mutex> lock(gSetClockMutex);
  StoredClock stored = LoadStoredClock(root);
  if (config->frozenClock) {
    stored.frozenBase = config->frozenClockSetting;
    stored.frozenValue = local;
  } else {
    stored.offsetMs = utcMs - HostUtcNowMs();
  }
  return SaveStoredClock(root, stored) ? TRUE : FALSE;
}

bool ValidTicks(int64_t ticks) {
  return ticks >= 0;
}

}  // namespace

std::shared_ptr<const ZoneRule> DeviceZoneRule() {
  const std::shared_ptr<const DeviceConfig> config = CurrentDeviceConfig();
  std::string key = config->timeZone;
  if (key.empty()) {
    const char* hostZone = std::getenv("TZ");
    key = hostZone ? std::string("host:") + hostZone : std::string("host");
  }
  std::lock_guard<std::mutex> lock(gZoneMutex);
  if (!gZoneRule || gZoneKey != key) {
    std::optional<ZoneRule> rule = LoadZoneRule(config->timeZone);
    if (!rule) rule = ParsePosixTzRule("UTC0");
    gZoneRule = std::make_shared<const ZoneRule>(*rule);
    gZoneKey = key;
  }
  return gZoneRule;
}

bool IsUsableTimeZoneSetting(const char* setting) {
  return setting != nullptr && LoadZoneRule(setting).has_value();
}

int64_t DeviceUtcNowMs() {
  return ReadDeviceClock().utcMs;
}

void GetLocalTime(SYSTEMTIME* time) {
  if (time != nullptr) *time = ToSystemTimeClamped(ReadDeviceClock().localMs);
}

void GetSystemTime(SYSTEMTIME* time) {
  if (time != nullptr) *time = ToSystemTimeClamped(ReadDeviceClock().utcMs);
}

void GetSystemTimeAsFileTime(FILETIME* time) {
  if (time != nullptr)
    *time = TicksToFileTime(ReadDeviceClock().utcMs * 10000 + kFileTimeUnixEpoch);
}

BOOL SetLocalTime(const SYSTEMTIME* time) {
  if (time == nullptr || !IsValidSystemTime(*time)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t localMs = SystemTimeToUnixMs(*time);
  return StoreDeviceTime(LocalToUtcMs(*DeviceZoneRule(), localMs), localMs);
}

BOOL SetSystemTime(const SYSTEMTIME* time) {
  if (time == nullptr || !IsValidSystemTime(*time)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t utcMs = SystemTimeToUnixMs(*time);
  return StoreDeviceTime(utcMs, UtcToLocalMs(*DeviceZoneRule(), utcMs));
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* time, FILETIME* fileTime) {
  if (time == nullptr || fileTime == nullptr || !IsValidSystemTime(*time)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *fileTime = TicksToFileTime(SystemTimeToUnixMs(*time) * 10000 + kFileTimeUnixEpoch);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* time) {
  if (fileTime == nullptr || time == nullptr || !ValidTicks(FileTimeToTicks(*fileTime))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::optional<SYSTEMTIME> result =
      UnixMsToSystemTime(FloorDiv(FileTimeToTicks(*fileTime) - kFileTimeUnixEpoch, 10000));
  if (!result) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *time = *result;
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local) {
  if (utc == nullptr || local == nullptr || !ValidTicks(FileTimeToTicks(*utc))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t ticks = FileTimeToTicks(*utc);
  const int64_t seconds = FloorDiv(ticks - kFileTimeUnixEpoch, 10000000);
  const int64_t shifted =
      ticks + (UtcToLocalSeconds(*DeviceZoneRule(), seconds) - seconds) * 10000000;
  if (!ValidTicks(shifted)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *local = TicksToFileTime(shifted);
  return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc) {
  if (local == nullptr || utc == nullptr || !ValidTicks(FileTimeToTicks(*local))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int64_t ticks = FileTimeToTicks(*local);
  const int64_t seconds = FloorDiv(ticks - kFileTimeUnixEpoch, 10000000);
  const int64_t shifted =
      ticks + (LocalToUtcSeconds(*DeviceZoneRule(), seconds) - seconds) * 10000000;
  if (!ValidTicks(shifted)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *utc = TicksToFileTime(shifted);
  return TRUE;
}

DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* info) {
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return TIME_ZONE_ID_INVALID;
  }
  const std::shared_ptr<const ZoneRule> rule = DeviceZoneRule();
  *info = ToTimeZoneInformation(*rule);
  if (!rule->hasDaylight) return TIME_ZONE_ID_UNKNOWN;
  return IsDaylightAt(*rule, FloorDiv(DeviceUtcNowMs(), 1000)) ? TIME_ZONE_ID_DAYLIGHT
                                                               : TIME_ZONE_ID_STANDARD;
}

}  // namespace ce

// The device's clock and time zone: GetLocalTime, GetSystemTime, SetLocalTime, SetSystemTime,
// GetTimeZoneInformation and the SYSTEMTIME / FILETIME conversions.
//
// The device clock is the host's real clock, or the frozen local time given by TQ_CLOCK (the
// tick counter keeps running either way). Setting the time never touches the host: in real
// mode the device keeps an offset from the host's clock, in frozen mode the new frozen value,
// both in the file "<device root>/.device/clock", so that the next call and the next process
// on the same device see the change. A stored frozen value applies only while the TQ_CLOCK it
// was derived from is in force; a different TQ_CLOCK starts afresh.
//
// Local time follows the device zone (TQ_TZ, else the host's zone) through its current rule,
// applied to every year as the device applies its single zone record. A zone setting that
// cannot be used falls back to UTC.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/tz_rule.h"
#include "platform/windows_types.h"

namespace ce {

void GetLocalTime(SYSTEMTIME* time);
void GetSystemTime(SYSTEMTIME* time);
void GetSystemTimeAsFileTime(FILETIME* time);

// Fail with ERROR_INVALID_PARAMETER for a null or invalid record (wDayOfWeek is ignored), or
// with the translated errno when the clock file cannot be written; the clock is then unchanged.
BOOL SetLocalTime(const SYSTEMTIME* time);
BOOL SetSystemTime(const SYSTEMTIME* time);

BOOL SystemTimeToFileTime(const SYSTEMTIME* time, FILETIME* fileTime);
// Fails for values at or above 0x8000000000000000 or past the year 30827.
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* time);
BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local);
BOOL LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc);

// TIME_ZONE_ID_UNKNOWN for a zone without daylight time, else TIME_ZONE_ID_STANDARD or
// TIME_ZONE_ID_DAYLIGHT for the device's current moment.
DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* info);

// The device's current UTC time in milliseconds since 1970.
int64_t DeviceUtcNowMs();

// The rule of the device zone (cached per zone setting).
std::shared_ptr<const ZoneRule> DeviceZoneRule();

// Whether a TQ_TZ value names a usable zone (for the host's option check).
bool IsUsableTimeZoneSetting(const char* setting);

}  // namespace ce

// Local time <-> UTC with the device's time-zone record (GetTimeZoneInformation), as the RFC
// 3339 conversions and the Unix-time functions need it.
//
// Invariants: the conversion uses the record the device reports, applied to the moment's own
// year: Bias alone for a zone without a daylight rule; otherwise daylight time lies between
// the daylight transition and the standard transition, in whichever order they fall in the
// year (so southern-hemisphere zones work). A record whose transition rules cannot be used
// fails with the system error 87 (ERROR_INVALID_PARAMETER) left as the last error.
#pragma once

#include "platform/windows_types.h"

namespace tq {

bool LocalToUtc(const ce::SYSTEMTIME& local, ce::SYSTEMTIME& utc);
bool UtcToLocal(const ce::SYSTEMTIME& utc, ce::SYSTEMTIME& local);

// The same with a given zone record (for tests and for callers holding one).
bool LocalToUtcWith(const ce::TIME_ZONE_INFORMATION& zone, const ce::SYSTEMTIME& local,
                    ce::SYSTEMTIME& utc);
bool UtcToLocalWith(const ce::TIME_ZONE_INFORMATION& zone, const ce::SYSTEMTIME& utc,
                    ce::SYSTEMTIME& local);

}  // namespace tq

// The workers of the shared-zone functions: SharedZoneOpen, SharedZoneExists and
// SharedZoneWait.
//
// Mode bits: 2 makes a new zone's mapping and the view writable (read-only otherwise);
// 0x1000 marks the zone as UTF-16 text: a zone that did not exist gets the two bytes FF FE at
// its start, and a zone that starts with them is positioned behind them; 0x2000 makes its text
// 8-bit even when the application works in Unicode (as for a file). Bit 1 has no effect. The
// index is a handle of the text-file functions as well (lines, seek, close).
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/vm_object.h"

namespace tq {

struct ComponentProxy;

inline constexpr int32_t kZoneWritable = 0x2;
inline constexpr int32_t kZoneText = 0x1000;
inline constexpr int32_t kZoneDefaultMode = 3;

// The zone's index in the HandleTable, or -1 after an error (81508, 81510, 80041). Its text
// is UTF-16 under the same rule as a file's (bit 0x1000, or the application's `stringMode`
// neither 1 nor 2 without bit 0x2000).
int32_t OpenSharedZone(ComponentProxy* proxy, std::u16string_view name, int32_t size,
                       int32_t scope, int32_t mode, VMObject* procedure, int32_t stringMode);
bool SharedZoneExists(std::u16string_view name, int32_t scope);
// Waits until every other registered process has acknowledged the last notification, up to
// `milliseconds` (below 1: without limit); true after a complete wait, false on time-out.
// An index that is not in use raises 80022, one that is not a zone 81509.
bool WaitSharedZone(ComponentProxy* proxy, int32_t index, int64_t milliseconds);

}  // namespace tq

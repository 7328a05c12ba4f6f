// The named objects of a shared zone and the layout of its administration area.
//
// A zone called NAME with scope 2 is the mapping "Local\NAME" (any other scope: "Global\NAME");
// with it go the admin mapping OBJECT_ADM, the zone mutex OBJECT_MTX, and per registered
// process the semaphores OBJECT_SEMN<pid> (notification) and OBJECT_SEMF<pid>
// (acknowledgement), where OBJECT is the zone's object name.
//
// Admin area (84 bytes): byte 0 the layout version (1), byte 1 the number of registered
// processes, from byte 4 up to 20 process ids of 4 bytes each (little-endian). An area whose
// version is above 1 is not used. A count above 20 (a damaged area) is read as 20.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

inline constexpr int32_t kLocalScope = 2;
inline constexpr size_t kZoneAdminSize = 84;
inline constexpr size_t kZoneAdminMaxProcesses = 20;
inline constexpr uint8_t kZoneAdminVersion = 1;

std::u16string ZoneObjectName(std::u16string_view name, int32_t scope);
std::u16string ZoneCompanionName(std::u16string_view objectName, std::u16string_view suffix);
// kind 'N' (notification) or 'F' (acknowledgement).
std::u16string ZoneSemaphoreName(std::u16string_view objectName, char16_t kind, uint32_t pid);

void AdminInitialise(std::span<uint8_t, kZoneAdminSize> admin);
bool AdminUsable(std::span<const uint8_t, kZoneAdminSize> admin);
std::vector<uint32_t> AdminProcesses(std::span<const uint8_t, kZoneAdminSize> admin);
// Adds the pid unless it is there already or 20 are registered; true when added.
bool AdminAdd(std::span<uint8_t, kZoneAdminSize> admin, uint32_t pid);
// Removes the pid; the later ids move up one place.
void AdminRemove(std::span<uint8_t, kZoneAdminSize> admin, uint32_t pid);

}  // namespace tq

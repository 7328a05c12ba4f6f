// Zone object names and the administration area.
#include "system/zone_layout.h"

#include <algorithm>

namespace tq {
namespace {

constexpr size_t kIdsOffset = 4;

size_t StoredCount(std::span<const uint8_t, kZoneAdminSize> admin) {
  return std::min<size_t>(admin[1], kZoneAdminMaxProcesses);
}

uint32_t IdAt(std::span<const uint8_t, kZoneAdminSize> admin, size_t i) {
  const size_t at = kIdsOffset + 4 * i;
  return admin[at] | (admin[at + 1] << 8) | (admin[at + 2] << 16) |
         (static_cast<uint32_t>(admin[at + 3]) << 24);
}

void SetIdAt(std::span<uint8_t, kZoneAdminSize> admin, size_t i, uint32_t pid) {
  const size_t at = kIdsOffset + 4 * i;
  for (size_t b = 0; b < 4; ++b) admin[at + b] = static_cast<uint8_t>(pid >> (8 * b));
}

std::u16string Decimal(uint32_t value) {
  std::u16string text;
  for (const char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}

}  // namespace

std::u16string ZoneObjectName(std::u16string_view name, int32_t scope) {
  return (scope == kLocalScope ? u"Local\\" : u"Global\\") + std::u16string(name);
}

std::u16string ZoneCompanionName(std::u16string_view objectName, std::u16string_view suffix) {
  return std::u16string(objectName) + std::u16string(suffix);
}

std::u16string ZoneSemaphoreName(std::u16string_view objectName, char16_t kind, uint32_t pid) {
  return std::u16string(objectName) + u"_SEM" + kind + Decimal(pid);
}

void AdminInitialise(std::span<uint8_t, kZoneAdminSize> admin) {
  std::fill(admin.begin(), admin.end(), 0);
  admin[0] = kZoneAdminVersion;
}

bool AdminUsable(std::span<const uint8_t, kZoneAdminSize> admin) {
  return admin[0] <= kZoneAdminVersion;
}

std::vector<uint32_t> AdminProcesses(std::span<const uint8_t, kZoneAdminSize> admin) {
  std::vector<uint32_t> pids;
  for (size_t i = 0; i < StoredCount(admin); ++i) pids.push_back(IdAt(admin, i));
  return pids;
}

bool AdminAdd(std::span<uint8_t, kZoneAdminSize> admin, uint32_t pid) {
  const size_t count = StoredCount(admin);
  for (size_t i = 0; i < count; ++i) {
    if (IdAt(admin, i) == pid) return false;
  }
  if (count >= kZoneAdminMaxProcesses) return false;
  SetIdAt(admin, count, pid);
  admin[1] = static_cast<uint8_t>(count + 1);
  return true;
}

void AdminRemove(std::span<uint8_t, kZoneAdminSize> admin, uint32_t pid) {
  const size_t count = StoredCount(admin);
  for (size_t i = 0; i < count; ++i) {
    if (IdAt(admin, i) != pid) continue;
    for (size_t j = i + 1; j < count; ++j) SetIdAt(admin, j - 1, IdAt(admin, j));
    SetIdAt(admin, count - 1, 0);
    admin[1] = static_cast<uint8_t>(count - 1);
    return;
  }
}

}  // namespace tq

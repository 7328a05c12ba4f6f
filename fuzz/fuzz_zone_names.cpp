// Fuzzes zone and object names and the admin area. The first byte picks a scope, the rest is
// a UTF-16LE name: the host name of every object of the zone must be a valid shared-memory
// name (one leading '/', no other '/', at most 255 bytes, only the kept characters and %XX)
// and different names give different host names. The admin area is then fed the same bytes
// as pids: it never holds more than 20 ids, whatever it held before.
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/named_object.h"
#include "system/zone_layout.h"

namespace {

void CheckHostName(const std::string& host) {
  if (host.empty()) return;  // a name holding NUL has none
  if (host.size() > 255 || host[0] != '/' || host.find('/', 1) != std::string::npos) std::abort();
  for (const char c : host.substr(1)) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '_' || c == '-' || c == '%' || c == '~';
    if (!ok) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string root = "/tmp/fuzz-zone-device-" + std::to_string(getpid());
  std::filesystem::create_directories(root);
  setenv("TQ_DEVICE", root.c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::u16string name((size - 1) / 2, u'\0');
  for (size_t i = 0; i < name.size(); ++i) {
    name[i] = static_cast<char16_t>(data[1 + 2 * i] | (data[2 + 2 * i] << 8));
  }
  const std::u16string object = tq::ZoneObjectName(name, data[0] % 4);
  for (const std::u16string& each :
       {object, tq::ZoneCompanionName(object, u"_ADM"), tq::ZoneCompanionName(object, u"_MTX"),
        tq::ZoneSemaphoreName(object, u'N', 4194304), tq::ZoneSemaphoreName(object, u'F', 1)}) {
    CheckHostName(ce::NamedObjectHostName(each));
  }
  if (ce::NamedObjectHostName(object + u"x") == ce::NamedObjectHostName(object) &&
      !ce::NamedObjectHostName(object).empty()) {
    std::abort();
  }
  std::array<uint8_t, tq::kZoneAdminSize> admin{};
  for (size_t i = 0; i < size && i < tq::kZoneAdminSize; ++i) admin[i] = data[i];
  for (size_t i = 0; i + 1 < size; i += 2) {
    const uint32_t pid = data[i] % 32;
    if (data[i + 1] & 1) {
      tq::AdminRemove(admin, pid);
    } else {
      tq::AdminAdd(admin, pid);
    }
    if (tq::AdminProcesses(admin).size() > tq::kZoneAdminMaxProcesses) std::abort();
  }
  return 0;
}

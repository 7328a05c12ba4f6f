// Telephony over the device's cellular lines.
#include "platform/cellular.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/device_description.h"

namespace ce {
namespace {

constexpr DWORD kApiVersion = 0x20000;
constexpr DWORD kExtensionVersion = 0x10000;

std::mutex gMutex;
DWORD gNextHandle = 1;
std::map<HLINEAPP, bool> gApps;     // guarded by gMutex
std::map<HLINE, DWORD> gOpenLines;  // line handle -> device; guarded by gMutex

bool KnownApp(HLINEAPP app) {
  std::lock_guard<std::mutex> lock(gMutex);
  return gApps.count(app) != 0;
}

const CellularModule* LineOf(const std::shared_ptr<const DeviceDescription>& d, DWORD device) {
  return device < d->cellular.size() ? &d->cellular[device] : nullptr;
}

// Appends `text` (terminator included) to a variable-size record of `total` bytes when it fits;
// returns the bytes it needs. `used` grows only when the text is stored.
DWORD PutText(void* record, DWORD total, DWORD* used, DWORD* size, DWORD* offset,
              const std::u16string& text) {
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
  if (*used + bytes <= total) {
    std::memcpy(static_cast<char*>(record) + *used, text.c_str(), bytes);
    *size = bytes;
    *offset = *used;
    *used += bytes;
  }
  return bytes;
}

}  // namespace

LONG lineInitializeEx(HLINEAPP* app, HINSTANCE, LINECALLBACK, const WCHAR*, DWORD* deviceCount,
                      DWORD* apiVersion, LINEINITIALIZEEXPARAMS* params) {
  if (app == nullptr || deviceCount == nullptr || apiVersion == nullptr) {
    return LINEERR_INVALPOINTER;
  }
  if (params != nullptr && params->dwTotalSize < sizeof(LINEINITIALIZEEXPARAMS)) {
    return LINEERR_STRUCTURETOOSMALL;
  }
  std::lock_guard<std::mutex> lock(gMutex);
  *app = gNextHandle++;
  gApps[*app] = true;
  *deviceCount = static_cast<DWORD>(CurrentDeviceDescription()->cellular.size());
  if (*apiVersion > kApiVersion) *apiVersion = kApiVersion;
  return 0;
}

LONG lineShutdown(HLINEAPP app) {
  std::lock_guard<std::mutex> lock(gMutex);
  return gApps.erase(app) != 0 ? 0 : LINEERR_INVALAPPHANDLE;
}

LONG lineNegotiateAPIVersion(HLINEAPP app, DWORD device, DWORD low, DWORD high, DWORD* version,
                             LINEEXTENSIONID* extension) {
  if (!KnownApp(app)) return LINEERR_INVALAPPHANDLE;
  if (LineOf(CurrentDeviceDescription(), device) == nullptr) return LINEERR_BADDEVICEID;
  if (version == nullptr) return LINEERR_INVALPOINTER;
  if (low > kApiVersion || high < kApiVersion) return LINEERR_INCOMPATIBLEAPIVERSION;
  *version = kApiVersion;
  if (extension != nullptr) *extension = LINEEXTENSIONID{};
  return 0;
}

LONG lineGetDevCaps(HLINEAPP app, DWORD device, DWORD, DWORD, LINEDEVCAPS* caps) {
  if (!KnownApp(app)) return LINEERR_INVALAPPHANDLE;
  const CellularModule* line = LineOf(CurrentDeviceDescription(), device);
  if (line == nullptr) return LINEERR_BADDEVICEID;
  if (caps == nullptr) return LINEERR_INVALPOINTER;
  const DWORD total = caps->dwTotalSize;
  if (total < sizeof(LINEDEVCAPS)) return LINEERR_STRUCTURETOOSMALL;
  std::memset(reinterpret_cast<char*>(caps) + sizeof(DWORD), 0,
              sizeof(LINEDEVCAPS) - sizeof(DWORD));
  caps->dwUsedSize = sizeof(LINEDEVCAPS);
  caps->dwPermanentLineID = device;
  caps->dwStringFormat = 3;  // Unicode
  caps->dwNeededSize = sizeof(LINEDEVCAPS) + PutText(caps, total, &caps->dwUsedSize,
                                                     &caps->dwLineNameSize,
                                                     &caps->dwLineNameOffset, line->name);
  return 0;
}

LONG lineOpen(HLINEAPP app, DWORD device, HLINE* line, DWORD, DWORD, DWORD_PTR, DWORD, DWORD,
              void*) {
  if (!KnownApp(app)) return LINEERR_INVALAPPHANDLE;
  if (LineOf(CurrentDeviceDescription(), device) == nullptr) return LINEERR_BADDEVICEID;
  if (line == nullptr) return LINEERR_INVALPOINTER;
  std::lock_guard<std::mutex> lock(gMutex);
  *line = gNextHandle++;
  gOpenLines[*line] = device;
  return 0;
}

LONG lineNegotiateExtVersion(HLINEAPP app, DWORD device, DWORD, DWORD low, DWORD high,
                             DWORD* version) {
  if (!KnownApp(app)) return LINEERR_INVALAPPHANDLE;
  if (LineOf(CurrentDeviceDescription(), device) == nullptr) return LINEERR_BADDEVICEID;
  if (version == nullptr) return LINEERR_INVALPOINTER;
  if (low > kExtensionVersion || high < kExtensionVersion) return LINEERR_INCOMPATIBLEAPIVERSION;
  *version = kExtensionVersion;
  return 0;
}

LONG lineGetGeneralInfo(HLINE line, LINEGENERALINFO* info) {
  DWORD device = 0;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    auto found = gOpenLines.find(line);
    if (found == gOpenLines.end()) return LINEERR_INVALLINEHANDLE;
    device = found->second;
  }
  const CellularModule* cell = LineOf(CurrentDeviceDescription(), device);
  if (cell == nullptr) return LINEERR_INVALLINEHANDLE;
  if (info == nullptr) return LINEERR_INVALPOINTER;
  const DWORD total = info->dwTotalSize;
  if (total < sizeof(LINEGENERALINFO)) return LINEERR_STRUCTURETOOSMALL;
  std::memset(reinterpret_cast<char*>(info) + sizeof(DWORD), 0,
              sizeof(LINEGENERALINFO) - sizeof(DWORD));
  info->dwUsedSize = sizeof(LINEGENERALINFO);
  info->dwNeededSize =
      sizeof(LINEGENERALINFO) + PutText(info, total, &info->dwUsedSize,
                                        &info->dwSerialNumberSize, &info->dwSerialNumberOffset,
                                        cell->serial);
  return 0;
}

LONG lineClose(HLINE line) {
  std::lock_guard<std::mutex> lock(gMutex);
  return gOpenLines.erase(line) != 0 ? 0 : LINEERR_INVALLINEHANDLE;
}

}  // namespace ce

// The server's version file of an application: "<UPDATE_URL>VERSION.TZ" fetched with
// HttpDownload into a temporary file of the device, rewritten as an INI file whose only section
// is named after the application, and read with the profile engine.
//
// Invariants: a download made less than 5001 ms ago (by the tick counter, either way) for the
// same application is reused; failures raise 81633 (no address) or 81630 (with the host) and
// leave the cache as it was. The cache is process-wide and guarded by a mutex.
#pragma once

#include <optional>
#include <string>

#include "frame/component_proxy.h"
#include "frame/update_settings.h"

namespace tq {

inline constexpr uint32_t kVersionDownloadMilliseconds = 20000;
inline constexpr uint32_t kVersionCacheMilliseconds = 5001;

// The "VERSION" entry of the server's file (empty when absent); nullopt on failure.
std::optional<std::u16string> ServerVersion(ComponentProxy* proxy, const UpdateTarget& target);

// How many times the file was actually fetched in this process (tests).
int VersionFileDownloads();

// Tests: forget the cached download.
void ForgetVersionFile();

}  // namespace tq

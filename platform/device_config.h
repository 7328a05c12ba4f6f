// The simulated device's configuration, read once from the environment that the VM stand-in
// prepares: TQ_DEVICE (device root), TQ_CLOCK (frozen local clock), TQ_TZ (time zone) and
// TQ_LOCALE (locale) and TQ_APP (the running application's executable).
//
// Invariants: the configuration is read at the first call of CurrentDeviceConfig and then
// stays fixed for the process, unless a test resets or replaces it. A setting that cannot be
// used is replaced by its default and described in `problems`, so the host can report it;
// reading the configuration never fails. Nothing here touches the file system: the device root
// is created by its first user (see device_path.h).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_types.h"

namespace ce {

struct DeviceConfig {
  // Absolute host directory that the device path "\" designates.
  std::string deviceRoot;
  // The device's local clock is frozen at this value (TQ_CLOCK); nullopt: the host's clock.
  std::optional<SYSTEMTIME> frozenClock;
  // TQ_CLOCK as given, when it was valid: a persisted change of a frozen clock applies only
  // while the same TQ_CLOCK is in force.
  std::string frozenClockSetting;
  // An IANA zone name or a POSIX TZ rule; empty: the host's zone.
  std::string timeZone;
  // BCP 47 tag of the device locale, e.g. "fr-FR".
  std::string locale;
  // The device path of the running application's executable (TQ_APP); its base name without
  // extension is the application's name, and its command line is empty.
  std::u16string applicationPath;
  // Settings that were ignored, one sentence each.
  std::vector<std::string> problems;
};

inline constexpr char kDefaultLocale[] = "fr-FR";
inline constexpr char16_t kDefaultApplicationPath[] = u"\\Program Files\\App\\App.exe";

// The configuration in force. The pointer stays valid for as long as the caller keeps it.
std::shared_ptr<const DeviceConfig> CurrentDeviceConfig();

// Reads the configuration that the environment describes now (no caching).
DeviceConfig ReadDeviceConfigFromEnvironment();

// Tests: forget the configuration so that the next call reads the environment again, or put
// a given configuration in force.
void ResetDeviceConfigForTesting();
void SetDeviceConfigForTesting(DeviceConfig config);

// Parses a clock setting "YYYY-MM-DDTHH:MM:SS[.mmm]" (1 to 3 fraction digits) into a valid
// SYSTEMTIME with its day of week; nullopt when malformed or out of range.
std::optional<SYSTEMTIME> ParseClockSetting(std::string_view text);

// Formats a SYSTEMTIME as "YYYY-MM-DDTHH:MM:SS.mmm".
std::string FormatClockSetting(const SYSTEMTIME& time);

}  // namespace ce

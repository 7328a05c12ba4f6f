// Reading the device configuration from the environment.
#include "platform/device_config.h"

#include <pwd.h>
#include <unicode/uloc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/civil_time.h"
#include "platform/tz_database.h"
#include "platform/utf8.h"

namespace ce {
namespace {

std::mutex gConfigMutex;
std::shared_ptr<const DeviceConfig> gConfig;  // guarded by gConfigMutex

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string CurrentDirectory() {
  std::string buffer(256, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return "/";
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::char_traits<char>::length(buffer.c_str()));
  return buffer;
}

std::string HomeDirectory() {
  std::string home = EnvironmentValue("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/tmp";
}

std::string DefaultDeviceRoot() {
  // XDG requires the variable to hold an absolute path; a relative one is ignored.
  std::string dataHome = EnvironmentValue("XDG_DATA_HOME");
  if (dataHome.empty() || dataHome.front() != '/') dataHome = HomeDirectory() + "/.local/share";
  return dataHome + "/tq240/device";
}

// Reads exactly `count` decimal digits at `pos`.
// Whether ICU reads the whole text as a BCP 47 tag (an ICU name with "_" is accepted too).
bool IsWellFormedLocale(std::string tag) {
  for (char& c : tag) {
    if (c == '_') c = '-';
  }
  char name[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  int32_t parsed = 0;
  uloc_forLanguageTag(tag.c_str(), name, sizeof name, &parsed, &status);
  return U_SUCCESS(status) && parsed == static_cast<int32_t>(tag.size()) && name[0] != '\0';
}

bool ReadDigits(std::string_view text, size_t pos, size_t count, int* value) {
  if (pos + count > text.size()) return false;
  int result = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    result = result * 10 + (text[i] - '0');
  }
  *value = result;
  return true;
}

}  // namespace

std::optional<SYSTEMTIME> ParseClockSetting(std::string_view text) {
  // YYYY-MM-DDTHH:MM:SS, optionally followed by '.' and 1 to 3 digits.
  int year, month, day, hour, minute, second, fraction = 0;
  if (text.size() < 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  if (!ReadDigits(text, 0, 4, &year) || !ReadDigits(text, 5, 2, &month) ||
      !ReadDigits(text, 8, 2, &day) || !ReadDigits(text, 11, 2, &hour) ||
      !ReadDigits(text, 14, 2, &minute) || !ReadDigits(text, 17, 2, &second)) {
    return std::nullopt;
  }
  if (text.size() > 19) {
    const size_t digits = text.size() - 20;
    if (text[19] != '.' || digits < 1 || digits > 3 || !ReadDigits(text, 20, digits, &fraction)) {
      return std::nullopt;
    }
    for (size_t i = digits; i < 3; ++i) fraction *= 10;
  }
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = static_cast<WORD>(second);
  time.wMilliseconds = static_cast<WORD>(fraction);
  if (!IsValidSystemTime(time)) return std::nullopt;
  time.wDayOfWeek = static_cast<WORD>(WeekdayFromDays(DaysFromCivil(year, month, day)));
  return time;
}

std::string FormatClockSetting(const SYSTEMTIME& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

DeviceConfig ReadDeviceConfigFromEnvironment() {
  DeviceConfig config;

  config.deviceRoot = EnvironmentValue("TQ_DEVICE");
  if (config.deviceRoot.empty()) config.deviceRoot = DefaultDeviceRoot();
  if (config.deviceRoot.front() != '/') {
    config.deviceRoot = CurrentDirectory() + "/" + config.deviceRoot;
  }
  while (config.deviceRoot.size() > 1 && config.deviceRoot.back() == '/') {
    config.deviceRoot.pop_back();
  }

  const std::string clock = EnvironmentValue("TQ_CLOCK");
  if (!clock.empty()) {
    config.frozenClock = ParseClockSetting(clock);
    if (config.frozenClock) {
      config.frozenClockSetting = clock;
    } else {
      config.problems.push_back("TQ_CLOCK \"" + clock +
                                "\" is not a valid YYYY-MM-DDTHH:MM:SS[.mmm] time; the "
                                "host's clock is used.");
    }
  }

  config.timeZone = EnvironmentValue("TQ_TZ");
  if (!config.timeZone.empty() && !LoadZoneRule(config.timeZone)) {
    config.problems.push_back("TQ_TZ \"" + config.timeZone +
                              "\" is neither a known time zone nor a POSIX TZ rule; UTC is "
                              "used.");
  }

  const std::string app = EnvironmentValue("TQ_APP");
  config.applicationPath = app.empty() ? std::u16string(kDefaultApplicationPath) : Utf8ToUtf16(app);
  config.locale = EnvironmentValue("TQ_LOCALE");
  if (config.locale.empty()) config.locale = kDefaultLocale;
  if (!IsWellFormedLocale(config.locale)) {
    config.problems.push_back("TQ_LOCALE \"" + config.locale + "\" is not a locale name; " +
                              kDefaultLocale + " is used.");
    config.locale = kDefaultLocale;
  }
  return config;
}

std::shared_ptr<const DeviceConfig> CurrentDeviceConfig() {
  std::lock_guard<std::mutex> lock(gConfigMutex);
  if (!gConfig) gConfig = std::make_shared<const DeviceConfig>(ReadDeviceConfigFromEnvironment());
  return gConfig;
}

void ResetDeviceConfigForTesting() {
  std::lock_guard<std::mutex> lock(gConfigMutex);
  gConfig.reset();
}

void SetDeviceConfigForTesting(DeviceConfig config) {
  std::lock_guard<std::mutex> lock(gConfigMutex);
  gConfig = std::make_shared<const DeviceConfig>(std::move(config));
}

}  // namespace ce

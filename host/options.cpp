// Option parsing and their hand-over to the device and the VM.
#include "host/options.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/device_config.h"
#include "platform/form_description.h"

namespace tqhost {
namespace {

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool ReadCode(const std::string& text, int32_t* out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string* error) {
  Options o;
  o.device = FromEnvironment("TQ_DEVICE");
  o.clock = FromEnvironment("TQ_CLOCK");
  o.tz = FromEnvironment("TQ_TZ");
  o.locale = FromEnvironment("TQ_LOCALE");
  o.settingsPath = FromEnvironment("TQ_SETTINGS");
  o.app = FromEnvironment("TQ_APP");
  o.formPath = FromEnvironment("TQ_FORM");
  o.stringMode = FromEnvironment("TQ_STRING_MODE");
  o.libraryPath = FromEnvironment("TQ_LIBRARY");
  std::string language = FromEnvironment("TQ_LANG"), appLanguage = FromEnvironment("TQ_APP_LANG");
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-h" || a == "--help" || a == "--version") {
      o.command = a == "--version" ? "version" : "help";
      return o;
    }
    if (a.size() > 1 && a[0] == '-' && a.rfind("--", 0) != 0) {
      *error = "unknown option " + a;
      return std::nullopt;
    }
    if (a.rfind("--", 0) != 0) break;
    if (a == "--json") {
      o.json = true;
      continue;
    }
    std::string name = a, value;
    const size_t eq = a.find('=');
    if (eq != std::string::npos) name = a.substr(0, eq);
    std::string* target = name == "--device"        ? &o.device
                          : name == "--clock"       ? &o.clock
                          : name == "--tz"          ? &o.tz
                          : name == "--locale"      ? &o.locale
                          : name == "--lang"        ? &language
                          : name == "--app-lang"    ? &appLanguage
                          : name == "--settings"    ? &o.settingsPath
                          : name == "--app"         ? &o.app
                          : name == "--form"        ? &o.formPath
                          : name == "--string-mode" ? &o.stringMode
                          : name == "--library"     ? &o.libraryPath
                                                    : nullptr;
    if (target == nullptr) {
      *error = "unknown option " + name;
      return std::nullopt;
    }
    if (eq != std::string::npos) {
      *target = a.substr(eq + 1);
    } else if (i + 1 < argc) {
      *target = argv[++i];
    } else {
      *error = a + " needs a value";
      return std::nullopt;
    }
  }
  if (!language.empty() && !ReadCode(language, &o.language)) {
    *error = "--lang takes a language code (12, 9, 10, 4), not " + language;
    return std::nullopt;
  }
  if (!appLanguage.empty() && !ReadCode(appLanguage, &o.appLanguage)) {
    *error = "--app-lang takes a language code, not " + appLanguage;
    return std::nullopt;
  }
  int32_t mode = 0;
  if (!o.stringMode.empty() && !ReadCode(o.stringMode, &mode)) {
    *error = "--string-mode takes an integer, not " + o.stringMode;
    return std::nullopt;
  }
  if (!o.clock.empty() && !ce::ParseClockSetting(o.clock)) {
    *error = "--clock takes YYYY-MM-DDTHH:MM:SS[.mmm], not " + o.clock;
    return std::nullopt;
  }
  if (i >= argc) {
    *error = "a command is needed";
    return std::nullopt;
  }
  o.command = argv[i++];
  if (o.command == "help") return o;
  for (; i < argc; ++i) {
    if (std::string(argv[i]) == "--json" && o.command != "call" && o.command != "script")
      o.json = true;
    else if (std::string(argv[i]) == "--json" && o.command == "call" && o.rest.empty())
      o.json = true;
    else
      o.rest.push_back(argv[i]);
  }
  return o;
}

bool ApplyOptions(const Options& o, VMConfig* config, std::string* error) {
  auto put = [](const char* name, const std::string& value) {
    if (!value.empty()) setenv(name, value.c_str(), 1);
  };
  put("TQ_DEVICE", o.device);
  put("TQ_CLOCK", o.clock);
  put("TQ_TZ", o.tz);
  put("TQ_LOCALE", o.locale);
  put("TQ_APP", o.app);
  put("TQ_FORM", o.formPath);
  // The device reads these itself; a setting it cannot use is a usage problem here.
  const ce::DeviceConfig device = ce::ReadDeviceConfigFromEnvironment();
  if (!device.problems.empty()) {
    *error = device.problems.front();
    return false;
  }
  config->language = o.language;
  config->appLanguage = o.appLanguage;
  if (!o.stringMode.empty()) ReadCode(o.stringMode, &config->stringMode);
  if (!o.formPath.empty() && !ce::ReadFormFile(o.formPath, error)) return false;
  if (!o.settingsPath.empty()) {
    std::ifstream in(o.settingsPath, std::ios::binary);
    if (!in) {
      *error = "cannot read the settings file " + o.settingsPath;
      return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    JsonError why;
    config->settings = ParseJson(text.str(), &why);
    if (!config->settings) {
      *error = "settings file " + o.settingsPath + ": " + why.message + " at offset " +
               std::to_string(why.offset);
      return false;
    }
  }
  return true;
}

}  // namespace tqhost

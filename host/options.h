// tq240's options: each can also be given by an environment variable; the option wins. The
// device options are passed to the library's platform layer through the environment.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/vm_objects.h"

namespace tqhost {

struct Options {
  std::string device, clock, tz, locale, settingsPath, app, formPath, stringMode;
  int32_t language = 12;
  int32_t appLanguage = 1;
  bool json = false;
  std::string command;
  std::vector<std::string> rest;  // the command's own words
};

// Parses argv; on a usage problem returns nullopt with the message in `error`.
std::optional<Options> ParseOptions(int argc, char** argv, std::string* error);

// Exports the device options to the environment the library reads and builds the VM's
// configuration (reading --settings). False with a message when --settings is unreadable.
bool ApplyOptions(const Options& options, VMConfig* config, std::string* error);

inline constexpr const char* kUsage =
    "usage: tq240 [OPTIONS] call FUNCTION [ARG...]\n"
    "       tq240 [OPTIONS] script [FILE]\n"
    "       tq240 [OPTIONS] functions [--json]\n"
    "       tq240 [OPTIONS] info [--json]\n"
    "       tq240 [OPTIONS] demo\n"
    "options: --device DIR  --clock YYYY-MM-DDTHH:MM:SS[.mmm]  --tz ZONE  --locale NAME\n"
    "         --lang CODE  --app-lang CODE  --settings FILE  --app PATH  --form FILE\n"
    "         --string-mode N  --json\n";

}  // namespace tqhost

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
  std::string libraryPath;  // --library / TQ_LIBRARY; empty: searched (see FindLibrary)
  int32_t language = 12;
  int32_t appLanguage = 1;
  bool json = false;
  std::string command;
  std::vector<std::string> rest;  // the command's own words
};

// Parses argv; on a usage problem returns nullopt with the message in `error`. --help, -h and
// "help" give the command "help", --version the command "version".
std::optional<Options> ParseOptions(int argc, char** argv, std::string* error);

// Exports the device options to the environment the library reads and builds the VM's
// configuration (reading --settings). False with a message when --settings is unreadable.
bool ApplyOptions(const Options& options, VMConfig* config, std::string* error);

// The usage text, one line a command and an option (generated from host/usage.txt).
extern const char kUsageText[];

}  // namespace tqhost

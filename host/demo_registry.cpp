// The settings stores in the guided tour: registry values of every kind, walks and the
// search, an INI file written and read back, a file association and persistent parameters.
#include "host/demo_registry.h"

#include <cstdio>
#include <string>
#include <vector>

#include "host/call_runner.h"
#include "host/demo_step.h"

namespace tqhost {
namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Tq240Demo";

std::vector<DemoStep> Calls() {
  const std::string key = kKey;
  return {
      {"create a key (true: it is new)", {"RegistryCreateKey", key + "\\Colours"}},
      {"a string value", {"RegistrySetValue", key, "Owner", "Ada"}},
      {"an integer as REG_DWORD", {"RegistrySetValue", key, "Count", "i:42"}},
      {"a typed write: the VM converts the value first",
       {"RegistrySetValue", key, "Big", "65538", "REG_DWORD_BIG_ENDIAN"}},
      {"names ignore case; the big-endian value reads back as written",
       {"RegistryQueryValue", key, "big"}},
      {"the second value, by index", {"RegistryQueryValue", key, "i:2"}},
      {"its type", {"RegistryValueType", key, "Big"}},
      {"every value with a type letter (T text, N number, B other)",
       {"RegistryListValues", key, "b:true"}},
      {"walking subkeys one at a time", {"RegistryFirstSubKey", key}},
      {"search from the root for 'ada' in names and data, descending",
       {"RegistrySearch", "HKEY_CURRENT_USER", "ada"}},
      {"writing under a root without a key raises 80293",
       {"RegistrySetValue", "HKEY_CURRENT_CONFIG\\X", "v", "x"}},
      {"an INI value, written in the device's ANSI code page",
       {"ProfileWrite", "Display", "Theme", "clair", "\\Tq240Demo.ini"}},
      {"read back without regard to case",
       {"ProfileRead", "DISPLAY", "theme", "", "\\Tq240Demo.ini"}},
      {"the sections of the file", {"ProfileRead", "", "", "", "\\Tq240Demo.ini"}},
      {"an absent item must be given as 0", {"ProfileWrite", "Display", "Theme", "i:1"}},
      {"associate .tqd files with a program",
       {"FileAssociationCreate", ".tqd", "\\Tq240Demo.exe %1"}},
      {"the open command the shell would run", {"FileAssociationCommand", ".tqd"}},
      {nullptr, {"FileAssociationDelete", ".tqd"}},
      {"a parameter kept in the registry (the default mode)",
       {"ParameterMode", "0", key + "\\Parameters"}},
      {"saving Window.Main.Size writes Size under the group Window\\Main",
       {"ParameterSave", "Window.Main.Size", "640x480"}},
      {"and loads it back", {"ParameterLoad", "Window/Main/Size"}},
      {"an unknown mode raises 80700", {"ParameterMode", "7"}},
      {nullptr, {"RegistryDeleteKey", key}},
  };
}

}  // namespace

void ShowRegistryDemo(CallRunner& runner) {
  std::printf("\n== Settings stores: the registry, INI files, file associations, parameters\n");
  RunDemoSteps(runner, Calls());
}

}  // namespace tqhost

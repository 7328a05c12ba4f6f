// tq240 demo, processes section. It writes two small shell programs into the demo's device
// root (\Demo\hello.exe ends with code 3, \Demo\nap.exe sleeps), starts them, lists and ends
// them, opens a shared zone, and places a shortcut whose bytes it shows.
#include "host/demo_processes.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/demo_step.h"
#include "host/host_value.h"
#include "platform/device_path.h"

namespace tqhost {
namespace {

void WriteDemoProgram(const std::string& name, const std::string& body) {
  const std::string folder = ce::DeviceRoot() + "/Demo";
  mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/" + name;
  std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
  chmod(path.c_str(), 0755);
}

std::string FileBytes(const std::string& devicePath) {
  std::ifstream in(ce::DeviceRoot() + devicePath, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::optional<CallRecord> Step(CallRunner& runner, const char* note,
                               const std::vector<std::string>& words) {
  return RunDemoStep(runner, note, words);
}

}  // namespace

void RunProcessesDemo(CallRunner& runner) {
  std::printf("\n== Programs, processes, shared zones and shortcuts\n");
  WriteDemoProgram("hello.exe", "exit 3");
  WriteDemoProgram("nap.exe", "exec sleep 30");
  Step(runner, "a program of the device root, waited for: its exit code",
       {"LaunchProgramEx", "\\Demo\\hello.exe", "1", "2"});
  Step(runner, "a relative program path is refused", {"LaunchProgram", "hello.exe"});
  Step(runner, "a missing program: the system's code 2", {"LaunchProgram", "\\Demo\\none.exe"});
  const auto started = Step(runner, "started without waiting: its process id",
                            {"LaunchProgramEx", "\\Demo\\nap.exe 30", "1", "3"});
  const std::string pid =
      started && started->result ? std::to_string(started->result->integer) : "0";
  Step(runner, "the device's processes: this application and the program",
       {"ProcessList", "0", "3"});
  Step(runner, "copies of nap.exe, by name without extension", {"ProcessCount", "nap"});
  Step(runner, "ending it by its process id", {"ProcessTerminate", "i:" + pid});
  Step(runner, "it has gone", {"ProcessCount", "i:" + pid});
  Step(runner, "a process the device did not start cannot be ended",
       {"ProcessTerminate", "i:1"});
  Step(runner, "a shared zone of 256 bytes, local scope, with a notification procedure",
       {"SharedZoneOpen", "demo", "256", "2", "3", "p:onDemo"});
  Step(runner, "it exists for every process of this device", {"SharedZoneExists", "demo"});
  Step(runner, "nobody else is registered: the wait ends at once",
       {"SharedZoneWait", "i:2", "100"});
  Step(runner, "a shortcut in the Programs menu",
       {"CreateProgramsShortcut", "Demo", "Nap", "\\Demo\\nap.exe"});
  std::printf("%s holds: %s\n", "\\Windows\\Start Menu\\Programs\\Demo\\Nap.lnk",
              FileBytes("/Windows/Start Menu/Programs/Demo/Nap.lnk").c_str());
  Step(runner, "and its removal", {"DeleteShortcut", "1", "Nap", "Demo"});
}

}  // namespace tqhost

// tq240: the VM stand-in's command line. Loads libtq240std.so from beside itself, starts it
// as the VM does, runs the command, and stops it cleanly.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "host/call_runner.h"
#include "host/commands.h"
#include "host/library_session.h"
#include "host/options.h"
#include "host/vm_objects.h"

int main(int argc, char** argv) {
  using namespace tqhost;
  std::string error;
  std::optional<Options> options = ParseOptions(argc, argv, &error);
  if (!options) {
    std::fprintf(stderr, "tq240: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  VMConfig config;
  if (!ApplyOptions(*options, &config, &error)) {
    std::fprintf(stderr, "tq240: %s\n", error.c_str());
    return 2;
  }
  ConfigureVM(config);
  const std::string& command = options->command;
  if (command != "call" && command != "script" && command != "functions" && command != "info" &&
      command != "demo" && command != "compact") {
    std::fprintf(stderr, "tq240: unknown command %s\n%s", command.c_str(), kUsage);
    return 2;
  }
  LibrarySession library;
  if (!library.Open(ExecutableDirectory() + "/libtq240std.so")) {
    std::fprintf(stderr, "tq240: %s\n", library.error().c_str());
    return 2;
  }
  int status;
  if (command == "call")
    status = RunCall(library, *options);
  else if (command == "script")
    status = RunScript(library, *options);
  else if (command == "functions")
    status = ListFunctions(library, *options);
  else if (command == "info")
    status = ShowInformation(library, *options);
  else if (command == "compact")
    status = RunCompact(library, *options);
  else
    status = RunDemo(library, *options);
  std::fflush(stdout);
  library.Close();
  return status;
}

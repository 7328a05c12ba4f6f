// tq240: the VM stand-in's command line. Finds and loads the library, starts it as the VM
// does, runs the command, and stops it cleanly.
#include <cstdio>
#include <string>

#include "host/call_runner.h"
#include "host/commands.h"
#include "host/library_locator.h"
#include "host/library_session.h"
#include "host/options.h"
#include "host/regional_settings.h"
#include "host/vm_objects.h"

#ifndef TQ_VERSION
#define TQ_VERSION "unknown"
#endif

namespace {

bool KnownCommand(const std::string& command) {
  for (const char* known : {"call", "script", "functions", "describe", "info", "demo", "version",
                             "compact"})
    if (command == known) return true;
  return false;
}

int ShowVersion(tqhost::LibrarySession& library) {
  std::printf("tq240 %s\n", TQ_VERSION);
  std::printf("library %s (component version %d)\n",
              tqhost::LoadedLibraryFile(library.handle()).c_str(),
              library.exports().checkVersion());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tqhost;
  std::string error;
  std::optional<Options> options = ParseOptions(argc, argv, &error);
  if (!options) {
    std::fprintf(stderr, "tq240: %s\n%s", error.c_str(), kUsageText);
    return 2;
  }
  const std::string& command = options->command;
  if (command == "help") {
    std::fputs(kUsageText, stdout);
    return 0;
  }
  if (!KnownCommand(command)) {
    std::fprintf(stderr, "tq240: unknown command %s\n%s", command.c_str(), kUsageText);
    return 2;
  }
  VMConfig config;
  if (!ApplyOptions(*options, &config, &error)) {
    std::fprintf(stderr, "tq240: %s\n", error.c_str());
    return 2;
  }
  ConfigureVM(config);
  // The settings object is built now, so that a member at fault is reported at start rather
  // than at the first call that asks for the settings.
  if (config.settings) RegionalSettingsReferences();
  LibrarySession library;
  if (!library.Open(FindLibrary(options->libraryPath))) {
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
  else if (command == "describe")
    status = DescribeFunction(library, *options);
  else if (command == "info")
    status = ShowInformation(library, *options);
  else if (command == "compact")
    status = RunCompact(library, *options);
  else if (command == "version")
    status = ShowVersion(library);
  else
    status = RunDemo(library, *options);
  std::fflush(stdout);
  library.Close();
  return status;
}

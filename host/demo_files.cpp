// tq240 demo, files section: every call is shown as typed, with what the VM got back. The
// section works in \Temp\demo of the device root and removes it at the end.
#include "host/demo_files.h"

#include <cstdio>
#include <string>
#include <vector>

#include "host/call_runner.h"
#include "host/commands.h"
#include "host/demo_step.h"
#include "host/host_value.h"

namespace tqhost {
namespace {

// Runs one step and prints it; returns the result as shown.
std::string Show(CallRunner& runner, const DemoStep& step) {
  const std::optional<CallRecord> record = RunDemoStep(runner, step);
  if (!record || !record->result || record->result->kind == ValueKind::kNone) return {};
  return RenderPlain(*record->result);
}

}  // namespace

void ShowFilesDemo(LibrarySession& library) {
  std::printf("\n== Files: text files by handle, dates, copies, listings, compression\n");
  CallRunner runner(library);
  Show(runner, {"a folder with all its levels", {"DirectoryCreate", "\\Temp\\demo\\logs"}});
  const std::string handle =
      Show(runner, {"a text file created for writing (8-bit text)",
                    {"FileCreate", "\\Temp\\demo\\logs\\today.txt", "i:8192"}});
  for (int i = 1; i <= 3; ++i) {
    Show(runner, {"a line and its CR LF",
                  {"FileWriteLine", "i:" + handle, "line " + std::to_string(i) + " of the log"}});
  }
  Show(runner, {"back to the start", {"FileSeek", "i:" + handle, "l:0", "i:0"}});
  Show(runner, {"the first line", {"FileReadLine", "i:" + handle}});
  Show(runner, {"the handle is given back", {"FileClose", "i:" + handle}});
  Show(runner, {"a handle used after close", {"FileReadLine", "i:" + handle}});
  Show(runner, {"names are found whatever their case",
                {"FileDateTime", "\\TEMP\\DEMO\\LOGS\\TODAY.TXT", "20240315093000"}});
  Show(runner, {"the date alone", {"FileDate", "\\Temp\\demo\\logs\\today.txt"}});
  Show(runner, {"a copy into a folder that does not exist yet",
                {"FileCopy", "\\Temp\\demo\\logs\\today.txt", "\\Temp\\demo\\archive\\"}});
  Show(runner, {"every .txt file below \\Temp\\demo: path, size, last write, attributes",
                {"ListFiles", "\\Temp\\demo\\*.txt"}});
  Show(runner, {"no path leaves the device root", {"FileDate", "\\..\\..\\etc\\passwd"}});
  Show(runner, {"a copy needs an absolute source", {"FileCopy", "C:\\x.txt", "\\y.txt"}});

  // A longer log, written quietly, for the compressor.
  std::string error;
  const std::string big = RenderPlain(*runner.Run("FileCreate", {"\\Temp\\demo\\big.txt", "i:8192"}, &error)->result);
  for (int i = 0; i < 2000; ++i) {
    runner.Run("FileWriteLine", {"i:" + big, "entry " + std::to_string(i % 50) + ": all is well"}, &error);
  }
  runner.Run("FileClose", {"i:" + big}, &error);
  std::printf("\n# the exported compressor on a 2000-line log (also: tq240 compact SOURCE DESTINATION)\n");
  std::printf("$ tq240 compact \\Temp\\demo\\big.txt \\Temp\\demo\\big.lzh\n%d\n",
              CallCompacte(library, u"\\Temp\\demo\\big.txt", u"\\Temp\\demo\\big.lzh"));
  Show(runner, {"the original and its container", {"ListFiles", "\\Temp\\demo\\big.*", "i:2"}});
  std::printf("\n# a log this small is copied unchanged: the container would not be smaller\n");
  std::printf("$ tq240 compact \\Temp\\demo\\logs\\today.txt \\Temp\\demo\\today.lzh\n%d\n",
              CallCompacte(library, u"\\Temp\\demo\\logs\\today.txt", u"\\Temp\\demo\\today.lzh"));
  Show(runner, {"everything made here is removed", {"DirectoryRemove", "\\Temp\\demo", "i:1"}});
}

}  // namespace tqhost

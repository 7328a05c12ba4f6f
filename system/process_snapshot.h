// The device's process list as the process functions see it: a tool-help snapshot taken
// through the device module "toolhelp.dll" (loaded by name, as on the device), keeping the
// programs whose executable ends in ".EXE" (any case), and the comparison of program names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

struct ProcessEntry {
  std::u16string executable;  // as the snapshot reports it
  uint32_t pid = 0;
};

// nullopt when the module, one of its calls, or the snapshot is missing.
std::optional<std::vector<ProcessEntry>> TakeProcessSnapshot();

// The modules of a process (0: this process) as the tool-help module snapshot lists them;
// nullopt when it cannot be taken.
std::optional<std::vector<std::u16string>> TakeModuleSnapshot(uint32_t pid);

// Whether `executable` is the program `target`: equal file names (folders ignored) and, when
// the target has an extension, equal extensions; without regard to case.
bool ProgramMatches(std::u16string_view target, std::u16string_view executable);

// Whether the name ends in ".EXE", without regard to case.
bool HasExeExtension(std::u16string_view name);

// The file name with its extension, without folder.
std::u16string_view FileNamePart(std::u16string_view path);

}  // namespace tq

// Starting another program from a command line (LaunchProgram, LaunchProgramEx): the split
// of the command line into a program path and an argument string, the path check, the start,
// and the optional wait for the program's end.
//
// The split: the first space ends the program part, or, when the line starts with a double
// quote, the next double quote does; the program part loses one leading and one trailing
// double quote and is cut to 259 characters; the argument string is what follows the split
// character (it may begin with a space). A line without a split point is all program, with no
// argument string. The program path must begin with '\' or '/', or end with ':' (a device).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

struct ComponentProxy;

struct SplitCommand {
  std::u16string program;
  std::optional<std::u16string> arguments;  // nullopt: no split point
};

SplitCommand SplitCommandLine(std::u16string_view commandLine);
bool ProgramPathAccepted(std::u16string_view program);

// Launch modes: 0 start, 1 start and wait, 2 start, wait and give the exit code, 3 start and
// give the process id; other values act as 0.
inline constexpr int32_t kLaunchWait = 1;
inline constexpr int32_t kLaunchExitCode = 2;
inline constexpr int32_t kLaunchProcessId = 3;

// Starts the program; the result for the launch mode (1, the exit code or the process id),
// or 0 after raising 80600 (refused path) or 80400 (start failure). The window mode has no
// effect on this device.
int32_t LaunchProgram(ComponentProxy* proxy, const char16_t* commandLine, int32_t windowMode,
                      int32_t launchMode);

}  // namespace tq

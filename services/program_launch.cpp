// The launcher shared by LaunchProgram and LaunchProgramEx.
#include "services/program_launch.h"

#include <unistd.h>

#include "frame/raise_error.h"
#include "platform/kernel_object.h"
#include "platform/last_error.h"
#include "platform/processes.h"
#include "platform/system_messages.h"

namespace tq {
namespace {

constexpr uint32_t kRefusedPath = 80600;
constexpr uint32_t kStartFailed = 80400;
constexpr size_t kProgramBuffer = 260;  // characters, terminating zero included
constexpr ce::DWORD kPollMilliseconds = 10;
constexpr ce::DWORD kSystemMessageFlags = 4608;  // from the system, ignore inserts
constexpr ce::DWORD kNeutralLanguage = 1024;
constexpr size_t kSystemMessageBuffer = 1512;

// The system's text for `code` followed by the code in parentheses, with "%1" replaced by
// the program.
std::u16string StartFailureMessage(ce::DWORD code, std::u16string_view program) {
  char16_t buffer[kSystemMessageBuffer] = {};
  ce::FormatMessageW(kSystemMessageFlags, nullptr, code, kNeutralLanguage, buffer,
                     kSystemMessageBuffer, nullptr);
  std::u16string message = buffer;
  message += u" (";
  for (const char c : std::to_string(code)) message += static_cast<char16_t>(c);
  message += u")";
  const size_t insert = message.find(u"%1");
  if (insert != std::u16string::npos) message.replace(insert, 2, program);
  return message;
}

}  // namespace

SplitCommand SplitCommandLine(std::u16string_view line) {
  size_t split = line.find(u' ');
  if (!line.empty() && line.front() == u'"') split = line.find(u'"', 1);
  SplitCommand command;
  if (split == std::u16string_view::npos) {
    command.program = line;
    return command;
  }
  std::u16string program(line.substr(0, std::min(split, kProgramBuffer - 1)));
  if (!program.empty() && program.front() == u'"') program.erase(0, 1);
  if (!program.empty() && program.back() == u'"') program.pop_back();
  command.program = std::move(program);
  command.arguments = std::u16string(line.substr(split + 1));
  return command;
}

bool ProgramPathAccepted(std::u16string_view program) {
  if (program.empty()) return false;
  return program.back() == u':' || program.front() == u'/' || program.front() == u'\\';
}

int32_t LaunchProgram(ComponentProxy* proxy, const char16_t* commandLine, int32_t,
                      int32_t launchMode) {
  SplitCommand command = SplitCommandLine(commandLine != nullptr ? commandLine : u"");
  if (!ProgramPathAccepted(command.program)) {
    RaiseError(proxy, kRefusedPath, {command.program});
    return 0;
  }
  ce::PROCESS_INFORMATION process{};
  char16_t* arguments = command.arguments ? command.arguments->data() : nullptr;
  if (!ce::CreateProcessW(command.program.c_str(), arguments, nullptr, nullptr, ce::FALSE, 0,
                          nullptr, nullptr, nullptr, &process)) {
    const ce::DWORD code = ce::GetLastError();
    RaiseError(proxy, kStartFailed,
               {command.program, StartFailureMessage(code, command.program)});
    RecordSystemError(proxy, code);
    return 0;
  }
  ce::DWORD exitCode = ce::STILL_ACTIVE;
  if (launchMode == kLaunchWait || launchMode == kLaunchExitCode) {
    // No window of this device needs repainting meanwhile: the wait only sleeps.
    while (exitCode == ce::STILL_ACTIVE) {
      if (ce::WaitForSingleObject(process.hProcess, kPollMilliseconds) != ce::WAIT_TIMEOUT) {
        ce::GetExitCodeProcess(process.hProcess, &exitCode);
      }
      if (exitCode == ce::STILL_ACTIVE) usleep(1000);
    }
  }
  ce::CloseHandle(process.hProcess);
  ce::CloseHandle(process.hThread);
  if (launchMode == kLaunchExitCode) return static_cast<int32_t>(exitCode);
  if (launchMode == kLaunchProcessId) return static_cast<int32_t>(process.dwProcessId);
  return 1;
}

}  // namespace tq

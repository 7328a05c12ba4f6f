// Counting, ending and listing the device's processes.
#include "system/process_functions.h"

#include "frame/raise_error.h"
#include "platform/kernel_object.h"
#include "platform/last_error.h"
#include "platform/process_table.h"
#include "platform/processes.h"
#include "platform/system_info.h"
#include "system/process_snapshot.h"

namespace tq {
namespace {

constexpr uint32_t kNoSnapshot = 80100;
constexpr uint32_t kCannotOpen = 80101;
constexpr uint32_t kStateUnreadable = 80108;
constexpr int32_t kConstantArgument = 79872;
constexpr char16_t kLineEnd[] = u"\r\n";
constexpr char16_t kNtPrefix[] = u"\\??\\";

std::u16string Decimal(uint32_t value) {
  std::u16string text;
  for (const char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}

std::u16string Column(const ProcessEntry& entry, int32_t selector) {
  switch (selector) {
    case 0:
      return std::u16string(FileNamePart(entry.executable));
    case 1: {
      std::u16string_view name = entry.executable;
      if (name.substr(0, 4) == kNtPrefix) name.remove_prefix(4);
      return std::u16string(name);
    }
    case 3:
      return Decimal(entry.pid);
    case 6:
      return u"0";
    default:
      return {};
  }
}

bool IsDesktopSystem() {
  ce::OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
  return ce::GetVersionExW(&v) && v.dwPlatformId == ce::VER_PLATFORM_WIN32_NT;
}

}  // namespace

int32_t CountProcessesOf(ComponentProxy* proxy, std::u16string_view program) {
  const std::u16string target =
      program.empty() ? ce::ApplicationDevicePath() : std::u16string(program);
  const auto snapshot = TakeProcessSnapshot();
  if (!snapshot) {
    RaiseError(proxy, kNoSnapshot, {kConstantArgument});
    return -1;
  }
  int32_t count = 0;
  for (const ProcessEntry& entry : *snapshot) count += ProgramMatches(target, entry.executable);
  return count;
}

int32_t CountProcessId(ComponentProxy* proxy, uint32_t pid) {
  const ce::HANDLE process = ce::OpenProcess(ce::PROCESS_QUERY_INFORMATION, ce::FALSE, pid);
  if (process == nullptr) {
    const ce::DWORD code = ce::GetLastError();
    if (code != ce::ERROR_INVALID_PARAMETER) {
      RaiseError(proxy, kStateUnreadable, {kConstantArgument});
      RecordSystemError(proxy, code);
    }
    return 0;
  }
  ce::DWORD exitCode = 0;
  const bool running = ce::GetExitCodeProcess(process, &exitCode) && exitCode == ce::STILL_ACTIVE;
  ce::CloseHandle(process);
  return running ? 1 : 0;
}

bool TerminateProcessId(ComponentProxy* proxy, uint32_t pid) {
  const ce::HANDLE process = ce::OpenProcess(ce::PROCESS_ALL_ACCESS, ce::FALSE, pid);
  if (process == nullptr) {
    RaiseError(proxy, kCannotOpen, {kConstantArgument});
    return false;
  }
  ce::DWORD exitCode = 0;
  bool result = ce::GetExitCodeProcess(process, &exitCode) != ce::FALSE;
  if (result && exitCode == ce::STILL_ACTIVE) {
    result = ce::TerminateProcess(process, static_cast<ce::UINT>(-1)) != ce::FALSE;
    if (!result) RecordSystemError(proxy, ce::GetLastError());
  }
  ce::CloseHandle(process);
  return result;
}

bool TerminateProgram(ComponentProxy* proxy, std::u16string_view program) {
  const auto snapshot = TakeProcessSnapshot();
  if (!snapshot) {
    RaiseError(proxy, kNoSnapshot, {kConstantArgument});
    return false;
  }
  bool any = false;
  for (const ProcessEntry& entry : *snapshot) {
    if (ProgramMatches(program, entry.executable)) any |= TerminateProcessId(proxy, entry.pid);
  }
  return any;
}

std::u16string ListProcesses(ComponentProxy* proxy, std::span<const int32_t> selectors) {
  const auto snapshot = TakeProcessSnapshot();
  if (!snapshot) {
    RaiseError(proxy, kNoSnapshot, {kConstantArgument});
    return {};
  }
  std::u16string list;
  for (size_t row = 0; row < snapshot->size(); ++row) {
    if (row > 0) list += kLineEnd;
    bool first = true;
    for (const int32_t selector : selectors) {
      if (selector == -1) continue;
      if (!first) list += u'\t';
      first = false;
      list += Column((*snapshot)[row], selector);
    }
  }
  return list;
}

std::u16string ListModules(ComponentProxy*, int32_t pid) {
  // Desktop systems list modules through their process-status library (PSAPI.DLL), which is
  // not part of the device: a description that claims platform 2 gets the empty list that a
  // missing library gives.
  if (IsDesktopSystem()) return std::u16string();
  const auto modules = TakeModuleSnapshot(pid == -1 ? 0 : static_cast<uint32_t>(pid));
  std::u16string list;
  if (!modules) return list;
  bool first = true;
  for (const std::u16string& name : *modules) {
    if (HasExeExtension(name)) continue;
    if (!first) list += kLineEnd;
    first = false;
    list += name;
  }
  return list;
}

}  // namespace tq

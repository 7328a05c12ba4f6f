// Tool-help snapshots over the device's process table and /proc/PID/maps.
#include "platform/toolhelp.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/device_path.h"
#include "platform/kernel_object.h"
#include "platform/last_error.h"
#include "platform/modules.h"
#include "platform/process_table.h"
#include "platform/utf8.h"

namespace ce {
namespace {

struct ModuleRecord {
  std::u16string name;
  std::u16string path;
  uint64_t base = 0;
  uint64_t size = 0;
};

class Snapshot final : public KernelObject {
 public:
  DWORD TryTake() override { return WAIT_TIMEOUT; }
  std::vector<DeviceProcess> processes;
  std::vector<ModuleRecord> modules;
  DWORD pid = 0;
  size_t nextProcess = 0;
  size_t nextModule = 0;
};

template <size_t N>
void CopyText(WCHAR (&target)[N], std::u16string_view text) {
  const size_t count = std::min(text.size(), N - 1);
  std::copy_n(text.begin(), count, target);
  target[count] = u'\0';
}

std::u16string FileNameOf(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::vector<ModuleRecord> ReadModules(DWORD pid) {
  std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
  std::vector<ModuleRecord> modules;
  std::set<std::string> seen;
  std::string line;
  while (std::getline(maps, line)) {
    std::istringstream fields(line);
    std::string range, permissions, offset, device, inode, path;
    fields >> range >> permissions >> offset >> device >> inode;
    std::getline(fields >> std::ws, path);
    if (path.empty() || path.front() != '/' || path.find(" (deleted)") != std::string::npos) {
      continue;
    }
    const uint64_t low = std::stoull(range.substr(0, range.find('-')), nullptr, 16);
    const uint64_t high = std::stoull(range.substr(range.find('-') + 1), nullptr, 16);
    if (!seen.insert(path).second) {
      for (ModuleRecord& module : modules) {
        if (module.base <= low && module.path == Utf8ToUtf16(path)) module.size = high - module.base;
      }
      continue;
    }
    ModuleRecord module;
    module.path = HostToDevicePath(path).value_or(Utf8ToUtf16(path));
    module.name = FileNameOf(module.path);
    module.base = low;
    module.size = high - low;
    modules.push_back(std::move(module));
  }
  return modules;
}

std::shared_ptr<Snapshot> SnapshotOf(HANDLE handle) {
  return KernelObjectAs<Snapshot>(handle);
}

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  auto snapshot = std::make_shared<Snapshot>();
  if ((flags & TH32CS_SNAPPROCESS) != 0) snapshot->processes = DeviceProcesses();
  if ((flags & TH32CS_SNAPMODULE) != 0) {
    const DWORD self = static_cast<DWORD>(getpid());
    const DWORD pid = processId == 0 ? self : processId;
    if (pid != self && !FindDeviceProcess(pid)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return reinterpret_cast<HANDLE>(-1);
    }
    snapshot->pid = pid;
    snapshot->modules = ReadModules(pid);
  }
  return NewKernelHandle(std::move(snapshot));
}

BOOL Process32First(HANDLE handle, PROCESSENTRY32* entry) {
  const std::shared_ptr<Snapshot> snapshot = SnapshotOf(handle);
  if (snapshot == nullptr) return FALSE;
  snapshot->nextProcess = 0;
  return Process32Next(handle, entry);
}

BOOL Process32Next(HANDLE handle, PROCESSENTRY32* entry) {
  const std::shared_ptr<Snapshot> snapshot = SnapshotOf(handle);
  if (snapshot == nullptr) return FALSE;
  if (entry == nullptr || entry->dwSize < sizeof(PROCESSENTRY32)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  if (snapshot->nextProcess >= snapshot->processes.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  const DeviceProcess& process = snapshot->processes[snapshot->nextProcess++];
  *entry = PROCESSENTRY32{};
  entry->dwSize = sizeof(PROCESSENTRY32);
  entry->cntUsage = 1;
  entry->th32ProcessID = process.pid;
  entry->cntThreads = 1;
  CopyText(entry->szExeFile, process.devicePath);
  return TRUE;
}

BOOL Module32First(HANDLE handle, MODULEENTRY32* entry) {
  const std::shared_ptr<Snapshot> snapshot = SnapshotOf(handle);
  if (snapshot == nullptr) return FALSE;
  snapshot->nextModule = 0;
  return Module32Next(handle, entry);
}

BOOL Module32Next(HANDLE handle, MODULEENTRY32* entry) {
  const std::shared_ptr<Snapshot> snapshot = SnapshotOf(handle);
  if (snapshot == nullptr) return FALSE;
  if (entry == nullptr || entry->dwSize < sizeof(MODULEENTRY32)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  if (snapshot->nextModule >= snapshot->modules.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  const ModuleRecord& module = snapshot->modules[snapshot->nextModule++];
  *entry = MODULEENTRY32{};
  entry->dwSize = sizeof(MODULEENTRY32);
  entry->th32ProcessID = snapshot->pid;
  entry->GlblcntUsage = 1;
  entry->ProccntUsage = 1;
  entry->modBaseAddr = static_cast<DWORD>(module.base);
  entry->modBaseSize = static_cast<DWORD>(module.size);
  entry->hModule = static_cast<DWORD>(module.base);
  CopyText(entry->szModule, module.name);
  CopyText(entry->szExePath, module.path);
  return TRUE;
}

BOOL CloseToolhelp32Snapshot(HANDLE snapshot) {
  return CloseHandle(snapshot);
}

void RegisterToolHelpModule() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterBuiltinDeviceModule(
        u"toolhelp.dll",
        {{"CreateToolhelp32Snapshot", 0, reinterpret_cast<FARPROC>(&CreateToolhelp32Snapshot)},
         {"Process32First", 0, reinterpret_cast<FARPROC>(&Process32First)},
         {"Process32Next", 0, reinterpret_cast<FARPROC>(&Process32Next)},
         {"Module32First", 0, reinterpret_cast<FARPROC>(&Module32First)},
         {"Module32Next", 0, reinterpret_cast<FARPROC>(&Module32Next)},
         {"CloseToolhelp32Snapshot", 0, reinterpret_cast<FARPROC>(&CloseToolhelp32Snapshot)}});
  });
}

}  // namespace ce

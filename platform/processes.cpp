// CreateProcessW and the process calls over host processes.
#include "platform/processes.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/device_path.h"
#include "platform/last_error.h"
#include "platform/process_object.h"
#include "platform/process_table.h"
#include "platform/utf8.h"

extern char** environ;

namespace ce {
namespace {

// Why a mapped program path cannot be run, as the device's code; 0 when it can be tried.
DWORD ProgramFileProblem(const std::string& hostPath) {
  struct stat info{};
  if (stat(hostPath.c_str(), &info) != 0) {
    if (errno == ENOTDIR) return ERROR_PATH_NOT_FOUND;
    if (errno != ENOENT) return Win32ErrorFromErrno(errno);
    const std::string folder = hostPath.substr(0, hostPath.rfind('/'));
    struct stat folderInfo{};
    const bool folderExists = folder.empty() || (stat(folder.c_str(), &folderInfo) == 0 &&
                                                 S_ISDIR(folderInfo.st_mode));
    return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  }
  if (!S_ISREG(info.st_mode)) return ERROR_ACCESS_DENIED;
  if (access(hostPath.c_str(), X_OK) != 0) return ERROR_BAD_EXE_FORMAT;
  return 0;
}

DWORD SpawnErrorCode(int error) {
  switch (error) {
    case ENOEXEC:
    case ELIBBAD:
    case ETXTBSY:
      return ERROR_BAD_EXE_FORMAT;
    case EACCES:
    case EPERM:
      return ERROR_ACCESS_DENIED;
    case ENOENT:  // a "#!" line naming a missing interpreter
      return ERROR_BAD_EXE_FORMAT;
    default:
      return Win32ErrorFromErrno(error);
  }
}

// This process's environment with TQ_DEVICE naming the device root.
std::vector<std::string> ProgramEnvironment() {
  std::vector<std::string> variables;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "TQ_DEVICE=", 10) != 0) variables.emplace_back(*entry);
  }
  variables.push_back("TQ_DEVICE=" + DeviceRoot());
  return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts the program; the pid, or an errno value as a negative number.
pid_t Spawn(const std::string& hostPath, const char16_t* arguments) {
  std::vector<std::string> argv{hostPath};
  if (arguments != nullptr && *arguments != u'\0') argv.push_back(Utf16ToUtf8(arguments));
  std::vector<std::string> environment = ProgramEnvironment();
  std::vector<char*> argvPointers = Pointers(argv);
  std::vector<char*> environmentPointers = Pointers(environment);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, DeviceRoot().c_str());
  pid_t pid = 0;
  const int error = posix_spawn(&pid, hostPath.c_str(), &actions, nullptr, argvPointers.data(),
                                environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -error;
}

}  // namespace

BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, void*, void*, BOOL, DWORD,
                    void*, LPCWSTR, void*, PROCESS_INFORMATION* information) {
  if (applicationName == nullptr || *applicationName == u'\0') {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  const std::optional<std::string> hostPath = MapDevicePath(applicationName);
  if (!hostPath) return FALSE;
  if (const DWORD problem = ProgramFileProblem(*hostPath)) {
    SetLastError(problem);
    return FALSE;
  }
  ReapEndedChildren();
  const pid_t pid = Spawn(*hostPath, commandLine);
  if (pid < 0) {
    SetLastError(SpawnErrorCode(-pid));
    return FALSE;
  }
  const uint64_t startTime = ReadProcessState(pid).value_or(ProcessState{}).startTime;
  AdoptChild(pid, startTime);
  // The device path as found on the host (its real case), so listings show the file's name.
  const std::u16string devicePath =
      HostToDevicePath(*hostPath).value_or(std::u16string(applicationName));
  RecordDeviceProcess(pid, startTime, devicePath);
  std::shared_ptr<ProcessObject> object = OpenProcessObject(pid, startTime);
  if (information != nullptr) {
    information->hProcess = NewKernelHandle(object);
    information->hThread = NewKernelHandle(object);
    information->dwProcessId = static_cast<DWORD>(pid);
    information->dwThreadId = static_cast<DWORD>(pid);
  }
  return TRUE;
}

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
  const pid_t self = getpid();
  if (processId == static_cast<DWORD>(self)) {
    const uint64_t startTime = ReadProcessState(self).value_or(ProcessState{}).startTime;
    return NewKernelHandle(OpenProcessObject(self, startTime));
  }
  ReapEndedChildren();
  const std::optional<DeviceProcess> member = FindDeviceProcess(processId);
  if (!member) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return NewKernelHandle(OpenProcessObject(static_cast<pid_t>(processId), member->startTime));
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
  const std::shared_ptr<ProcessObject> object = KernelObjectAs<ProcessObject>(process);
  if (object == nullptr || exitCode == nullptr) return FALSE;
  *exitCode = object->ExitCode();
  return TRUE;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
  const std::shared_ptr<ProcessObject> object = KernelObjectAs<ProcessObject>(process);
  if (object == nullptr) return FALSE;
  if (object->Ended()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (object->pid() == getpid()) _exit(static_cast<int>(exitCode));
  return object->Kill(exitCode) ? TRUE : FALSE;
}

DWORD GetCurrentProcessId() {
  return static_cast<DWORD>(getpid());
}

DWORD GetProcessId(HANDLE process) {
  const std::shared_ptr<ProcessObject> object = KernelObjectAs<ProcessObject>(process);
  return object != nullptr ? static_cast<DWORD>(object->pid()) : 0;
}

}  // namespace ce

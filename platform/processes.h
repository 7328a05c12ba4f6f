// Processes: CreateProcessW, OpenProcess, GetExitCodeProcess, TerminateProcess and the
// process handles (closed with CloseHandle, waited on with WaitForSingleObject).
//
// A device program is an executable file under the device root (an ELF file or a script with
// a "#!" line, whatever its extension). It runs as a real host process whose working directory
// is the device root, whose environment is this process's with TQ_DEVICE naming the same root,
// and whose only argument is the argument string, passed whole (a null or empty string passes
// no argument), as the device passes one command line. Failures use the device's codes: 2
// missing file, 3 missing folder, 5 a folder or a file that cannot be run, 193 a file that is
// not a program (not executable, or a format the host cannot run).
//
// Invariants: a process handle designates the process through a pidfd, never through its pid
// alone, so a process that ended and whose pid was reused is never signalled. Only members of
// the device's process table (process_table.h) and this process can be opened; any other pid
// fails with ERROR_INVALID_PARAMETER. Started programs are reaped by this process when a
// handle notices their end, when another program is started and when the table is listed.
// The exit code of a program this process did not start is not known once it has ended: 0.
#pragma once

#include "platform/kernel_object.h"
#include "platform/windows_types.h"

namespace ce {

struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
};

inline constexpr DWORD PROCESS_TERMINATE = 0x0001;
inline constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;
inline constexpr DWORD PROCESS_VM_READ = 0x0010;
inline constexpr DWORD PROCESS_ALL_ACCESS = 0x001F0FFF;

// Only the application name, the command line and the process record are used; the others
// are accepted and ignored, as on the device.
BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, void* processAttributes,
                    void* threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    void* environment, LPCWSTR currentDirectory, void* startupInfo,
                    PROCESS_INFORMATION* information);
HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);
// Ends the process at once (SIGKILL through its pidfd) and waits until it has gone.
BOOL TerminateProcess(HANDLE process, UINT exitCode);
DWORD GetCurrentProcessId();
// The pid of a process handle (0 with ERROR_INVALID_HANDLE).
DWORD GetProcessId(HANDLE process);

}  // namespace ce

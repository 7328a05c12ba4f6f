// Process handles over pidfds, and the exit statuses of the programs this process started.
#include "platform/process_object.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <map>
#include <mutex>
#include <optional>

#include "platform/last_error.h"
#include "platform/process_table.h"

namespace ce {
namespace {

constexpr int kKillWaitMilliseconds = 5000;

struct Child {
  uint64_t startTime = 0;
  std::optional<DWORD> exitCode;
  std::optional<UINT> requestedCode;  // set by TerminateProcess
  int handles = 0;                     // ProcessObjects on it
};

struct Children {
  std::mutex lock;
  std::map<pid_t, Child> byPid;
};

Children& TheChildren() {
  static Children* children = new Children;  // reached from finalisers too
  return *children;
}

// Collects the child's status when it has ended; the caller holds the lock. `exited`: its
// pidfd said so, and the status may trail that by a moment, so it is waited for.
void ReapLocked(pid_t pid, Child& child, bool exited = false) {
  if (child.exitCode) return;
  siginfo_t info{};
  if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | (exited ? 0 : WNOHANG)) != 0) {
    if (errno == ECHILD) child.exitCode = 0;  // collected elsewhere: the status is lost
    return;
  }
  if (info.si_pid != pid) return;  // still running
  if (info.si_code == CLD_EXITED) {
    child.exitCode = static_cast<DWORD>(info.si_status);
  } else {
    child.exitCode = child.requestedCode ? *child.requestedCode
                                         : static_cast<DWORD>(128 + info.si_status);
  }
}

// The pidfd calls, made directly: the C library's wrappers are not declared for C++ here.
int PidfdOpen(pid_t pid) {
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

int PidfdKill(int pidfd) {
  return static_cast<int>(syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0));
}

bool Readable(int fd, int milliseconds) {
  pollfd entry{fd, POLLIN, 0};
  int result;
  do {
    result = poll(&entry, 1, milliseconds);
  } while (result < 0 && errno == EINTR);
  return result > 0;
}

}  // namespace

ProcessObject::ProcessObject(pid_t pid, uint64_t startTime, int pidfd, bool child)
    : pid_(pid), startTime_(startTime), pidfd_(pidfd), child_(child) {}

ProcessObject::~ProcessObject() {
  close(pidfd_);
  if (!child_) return;
  // The last handle on an ended child: its status can no longer be asked for.
  Children& children = TheChildren();
  std::lock_guard<std::mutex> guard(children.lock);
  const auto found = children.byPid.find(pid_);
  if (found != children.byPid.end() && --found->second.handles <= 0 && found->second.exitCode) {
    children.byPid.erase(found);
  }
}

bool ProcessObject::Ended() {
  if (!child_) return Readable(pidfd_, 0);
  Children& children = TheChildren();
  std::lock_guard<std::mutex> guard(children.lock);
  Child& child = children.byPid[pid_];
  if (!child.exitCode && Readable(pidfd_, 0)) ReapLocked(pid_, child, true);
  return child.exitCode.has_value();
}

DWORD ProcessObject::TryTake() {
  return Ended() ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

DWORD ProcessObject::Wait(DWORD milliseconds) {
  if (milliseconds == INFINITE) {
    while (!Readable(pidfd_, INT_MAX)) {
    }
  } else {
    Readable(pidfd_, static_cast<int>(std::min<DWORD>(milliseconds, INT_MAX)));
  }
  return TryTake();
}

DWORD ProcessObject::ExitCode() {
  if (!Ended()) return STILL_ACTIVE;
  if (!child_) return 0;
  Children& children = TheChildren();
  std::lock_guard<std::mutex> guard(children.lock);
  return children.byPid[pid_].exitCode.value_or(0);
}

bool ProcessObject::Kill(UINT exitCode) {
  if (child_) {
    Children& children = TheChildren();
    std::lock_guard<std::mutex> guard(children.lock);
    children.byPid[pid_].requestedCode = exitCode;
  }
  if (PidfdKill(pidfd_) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  Readable(pidfd_, kKillWaitMilliseconds);
  Ended();  // collects a child's status
  return true;
}

void AdoptChild(pid_t pid, uint64_t startTime) {
  Children& children = TheChildren();
  std::lock_guard<std::mutex> guard(children.lock);
  children.byPid[pid] = Child{startTime, std::nullopt, std::nullopt, 0};
}

void ReapEndedChildren() {
  Children& children = TheChildren();
  std::lock_guard<std::mutex> guard(children.lock);
  for (auto& [pid, child] : children.byPid) ReapLocked(pid, child);
}


std::shared_ptr<ProcessObject> OpenProcessObject(pid_t pid, uint64_t startTime) {
  const int pidfd = PidfdOpen(pid);
  if (pidfd < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // The pidfd designates whoever had the pid when it was opened; the process is still the
  // one meant when it has the expected start time now.
  const std::optional<ProcessState> state = ReadProcessState(pid);
  if (!state || state->startTime != startTime) {
    close(pidfd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  bool child = false;
  {
    Children& children = TheChildren();
    std::lock_guard<std::mutex> guard(children.lock);
    const auto found = children.byPid.find(pid);
    child = found != children.byPid.end() && found->second.startTime == startTime;
    if (child) ++found->second.handles;
  }
  return std::make_shared<ProcessObject>(pid, startTime, pidfd, child);
}

}  // namespace ce

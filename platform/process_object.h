// The object behind a process handle, and the bookkeeping of the programs this process
// started (their exit codes once reaped).
//
// Invariants: a ProcessObject owns a pidfd opened while the process was known to be the one
// meant (same pid and start time), so every signal and wait reaches that process only. A
// child's exit status is collected once, under one lock, and kept for every handle on it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>

#include "platform/kernel_object.h"

namespace ce {

class ProcessObject final : public KernelObject {
 public:
  ProcessObject(pid_t pid, uint64_t startTime, int pidfd, bool child);
  ~ProcessObject() override;

  DWORD TryTake() override;
  DWORD Wait(DWORD milliseconds) override;

  bool Ended();
  // STILL_ACTIVE while it runs.
  DWORD ExitCode();
  // SIGKILL, then waits until the process has gone; `exitCode` becomes a child's exit code.
  bool Kill(UINT exitCode);

  pid_t pid() const { return pid_; }
  uint64_t startTime() const { return startTime_; }

 private:
  pid_t pid_;
  uint64_t startTime_;
  int pidfd_;
  bool child_;
};

// Remembers a program this process started (so its exit status is collected and kept).
void AdoptChild(pid_t pid, uint64_t startTime);
// Collects the exit status of every started program that has ended.
void ReapEndedChildren();
// A handle object for `pid`, which must be this process or a live member of the table with
// that start time; null with ERROR_INVALID_PARAMETER otherwise.
std::shared_ptr<ProcessObject> OpenProcessObject(pid_t pid, uint64_t startTime);

}  // namespace ce

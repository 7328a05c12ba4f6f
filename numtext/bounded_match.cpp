// In-process matches call the engine directly. Bounded matches fork: the child never touches
// the cached pattern (another thread may hold its lock at the moment of the fork) and leaves
// with _exit, so it runs no destructor of the parent's objects.
#include "numtext/bounded_match.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tq {
namespace {

MatchRegisters RunEngine(const CompiledPattern& pattern, std::string_view subject) {
  MatchRegisters out;
  re_registers regs{};
  const int length = static_cast<int>(subject.size());
  out.length = re_match(pattern.buffer(), subject.data(), length, 0, &regs);
  const size_t count = pattern.groupCount() + 1;
  out.starts.assign(count, -1);
  out.ends.assign(count, -1);
  if (out.length >= 0) {
    for (size_t i = 0; i < count && i < regs.num_regs; ++i) {
      out.starts[i] = static_cast<int>(regs.start[i]);
      out.ends[i] = static_cast<int>(regs.end[i]);
    }
  }
  std::free(regs.start);
  std::free(regs.end);
  return out;
}

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

[[noreturn]] void ChildMatch(int fd, const CompiledPattern& pattern, std::string_view subject) {
  const std::unique_ptr<CompiledPattern> own = CompileUncached(pattern.source(), pattern.syntax());
  const MatchRegisters result = RunEngine(*own, subject);
  const bool sent = WriteAll(fd, &result.length, sizeof result.length) &&
                    WriteAll(fd, result.starts.data(), result.starts.size() * sizeof(int)) &&
                    WriteAll(fd, result.ends.data(), result.ends.size() * sizeof(int));
  _exit(sent ? 0 : 1);
}

enum class ReadOutcome { kComplete, kTimedOut, kFailed };

// Reads exactly `size` bytes before `deadline`. The wait is rounded up to whole milliseconds,
// so a poll that expires has really reached the deadline.
ReadOutcome ReadUntil(int fd, char* out, size_t size,
                      std::chrono::steady_clock::time_point deadline) {
  while (size > 0) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return ReadOutcome::kTimedOut;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return ReadOutcome::kTimedOut;
    if (ready < 0) return ReadOutcome::kFailed;
    const ssize_t n = read(fd, out, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return ReadOutcome::kFailed;
    out += n;
    size -= static_cast<size_t>(n);
  }
  return ReadOutcome::kComplete;
}

MatchRegisters RunInHelper(const CompiledPattern& pattern, std::string_view subject) {
  MatchRegisters out;
  out.length = -2;
  const size_t count = pattern.groupCount() + 1;
  out.starts.assign(count, -1);
  out.ends.assign(count, -1);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return out;
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    ChildMatch(fds[1], pattern, subject);
  }
  close(fds[1]);
  if (child < 0) {
    close(fds[0]);
    return out;
  }
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kMatchTimeLimitMs);
  int length = -2;
  ReadOutcome outcome =
      ReadUntil(fds[0], reinterpret_cast<char*>(&length), sizeof length, deadline);
  if (outcome == ReadOutcome::kComplete)
    outcome = ReadUntil(fds[0], reinterpret_cast<char*>(out.starts.data()), count * sizeof(int),
                        deadline);
  if (outcome == ReadOutcome::kComplete)
    outcome = ReadUntil(fds[0], reinterpret_cast<char*>(out.ends.data()), count * sizeof(int),
                        deadline);
  close(fds[0]);
  const bool complete = outcome == ReadOutcome::kComplete;
  if (!complete) {
    kill(child, SIGKILL);
    out.timedOut = outcome == ReadOutcome::kTimedOut;
  }
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  if (complete) {
    out.length = length;
  } else {
    out.starts.assign(count, -1);
    out.ends.assign(count, -1);
    out.length = out.timedOut ? -1 : -2;
  }
  return out;
}

}  // namespace

MatchRegisters MatchAtStart(const CompiledPattern& pattern, std::string_view subject) {
  if (subject.size() > static_cast<size_t>(INT32_MAX) - 1) {
    MatchRegisters none;  // beyond the engine's offsets
    none.length = -2;
    none.starts.assign(pattern.groupCount() + 1, -1);
    none.ends = none.starts;
    return none;
  }
  const uint64_t cost = pattern.cost().weight * (subject.size() + 1);
  if (!pattern.cost().backReferences && cost <= kInProcessMatchCost)
    return RunEngine(pattern, subject);
  return RunInHelper(pattern, subject);
}

}  // namespace tq

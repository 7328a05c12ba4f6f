// Launch: LaunchProgramEx's worker starting /bin/true copied into the device root and waiting
// for it, against posix_spawn + waitpid of the same file. Notification: one round trip through
// two shared zones between two processes (write, the other's notification thread calls its
// procedure, which writes back, and this process's procedure sees it), against a round trip
// of two named POSIX semaphores.
#include <fcntl.h>
#include <semaphore.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include <benchmark/benchmark.h>

#include "frame/vm_procedure.h"
#include "platform/device_path.h"
#include "platform/named_object.h"
#include "services/program_launch.h"
#include "system/shared_zone.h"
#include "system/zone_notifier.h"

extern char** environ;

namespace {

const std::string kRoot = [] {
  const std::string root = "/tmp/bench-processes-" + std::to_string(getpid());
  std::filesystem::create_directories(root);
  setenv("TQ_DEVICE", root.c_str(), 1);
  std::filesystem::copy_file("/bin/true", root + "/true.exe",
                             std::filesystem::copy_options::overwrite_existing);
  return root;
}();

void LaunchProgramEx(benchmark::State& state) {
  for (auto _ : state) {
    if (tq::LaunchProgram(nullptr, u"\\true.exe", 1, tq::kLaunchExitCode) != 0) std::abort();
  }
}
BENCHMARK(LaunchProgramEx)->UseRealTime();

void PosixSpawnWaitpid(benchmark::State& state) {
  const std::string path = kRoot + "/true.exe";
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0) std::abort();
    int status = 0;
    waitpid(pid, &status, 0);
  }
}
BENCHMARK(PosixSpawnWaitpid)->UseRealTime();

// The procedure object of the zone notifications: Register, Unregister, Call.
std::function<void()> gOnCall;
int32_t Register(tq::VMObject*) { return 1; }
int32_t Unregister(tq::VMObject*) { return 0; }
int32_t Call(tq::VMObject*, const tq::DynamicValue* const*, int32_t, tq::DynamicValue*) {
  gOnCall();
  return 0;
}
void* const kSlots[] = {reinterpret_cast<void*>(&Register), reinterpret_cast<void*>(&Unregister),
                        reinterpret_cast<void*>(&Call)};

// Opens `listen` with the procedure and `answer` for writing.
struct Endpoint {
  std::unique_ptr<tq::SharedZone> listen, answer;
  tq::VMObject procedure{kSlots};
  Endpoint(const std::u16string& in, const std::u16string& out) {
    ce::DWORD failure = 0;
    listen = tq::SharedZone::Open(in, 64, 2, true, &failure);
    answer = tq::SharedZone::Open(out, 64, 2, true, &failure);
    listen->RegisterForNotifications();
    listen->SetListener(tq::AddZoneListener(
        std::make_shared<tq::ZoneListener>(in, listen->objectName(), &procedure)));
  }
  void Send() {
    static const uint8_t byte = 1;
    answer->set_position(0);
    answer->Write({&byte, 1});
  }
};

void SharedZoneRoundTrip(benchmark::State& state) {
  const pid_t child = fork();
  if (child == 0) {
    Endpoint echo(u"pong-side", u"ping-side");  // hears on pong-side, answers on ping-side
    gOnCall = [&echo] { echo.Send(); };
    for (;;) pause();
  }
  std::mutex lock;
  std::condition_variable arrived;
  int answers = 0;
  gOnCall = [&] {
    std::lock_guard<std::mutex> guard(lock);
    ++answers;
    arrived.notify_one();
  };
  Endpoint self(u"ping-side", u"pong-side");
  while (self.answer->OtherProcesses().empty()) usleep(1000);  // the child has registered
  for (auto _ : state) {
    std::unique_lock<std::mutex> guard(lock);
    const int expected = answers + 1;
    guard.unlock();
    self.Send();
    guard.lock();
    arrived.wait(guard, [&] { return answers >= expected; });
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  tq::StopZoneNotifications();
  ce::RemoveDeviceObjects();  // the killed child's references would keep them
}
BENCHMARK(SharedZoneRoundTrip)->UseRealTime();

void PosixSemaphorePingPong(benchmark::State& state) {
  const std::string ping = "/bench-ping-" + std::to_string(getpid());
  const std::string pong = "/bench-pong-" + std::to_string(getpid());
  sem_t* a = sem_open(ping.c_str(), O_CREAT, 0600, 0);
  sem_t* b = sem_open(pong.c_str(), O_CREAT, 0600, 0);
  const pid_t child = fork();
  if (child == 0) {
    for (;;) {
      sem_wait(a);
      sem_post(b);
    }
  }
  for (auto _ : state) {
    sem_post(a);
    sem_wait(b);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  sem_unlink(ping.c_str());
  sem_unlink(pong.c_str());
}
BENCHMARK(PosixSemaphorePingPong)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

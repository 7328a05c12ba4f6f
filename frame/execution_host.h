// ExecutionHost: the library's side of an execution, created by the start event (3985) and
// destroyed by the last stop (4875). Host initialisation queries the VM's services by number
// through the VM's "Execution" export; Start and End bring the library's run-time state
// (HandleTable, background-worker guard) up and down.
#pragma once

#include <cstdint>
#include <mutex>

#include "frame/vm_object.h"

namespace tq {

// The VM's own "Execution" export used as the service query: (3053, service number).
using VMServiceQuery = intptr_t (*)(int32_t code, intptr_t service);
inline constexpr int32_t kServiceQueryCode = 3053;

// The base behaviour of an execution host, in the VM's slot order. The library's class
// overrides Start, End and EnumerateObjects.
class ExecutionHostBase {
 public:
  virtual ~ExecutionHostBase() = default;
  virtual int32_t Start() { return 1; }                                   // 0
  virtual void Begin(intptr_t, intptr_t) {}                               // 1
  virtual void End() {}                                                   // 2
  virtual void Event4879(intptr_t*, int32_t) {}                           // 3
  virtual void Event5684(intptr_t*, int32_t) {}                           // 4
  virtual void Event5864(intptr_t*, int32_t) {}                           // 5
  virtual int32_t Confirm() { return 1; }                                 // 6
  virtual int32_t EnumerateObjects(intptr_t*, int32_t) { return 0; }     // 7

  void* vmModule = nullptr;
  VMServiceQuery vmExecution = nullptr;
};

class ExecutionHost final : public ExecutionHostBase {
 public:
  int32_t Start() override;
  void End() override;
  int32_t EnumerateObjects(intptr_t* arguments, int32_t count) override;

  // Runs the host initialisation with the VM module handle and the services object the
  // start event supplied (0 when none). False when the VM module lacks "Execution".
  bool Initialise(void* vmModule, intptr_t servicesObject);

 private:
  bool workerGuardReady_ = false;
};

// The guard of the background worker's running flag (and the named synchronisation objects).
std::mutex& WorkerGuard();
bool& WorkerRunning();

}  // namespace tq

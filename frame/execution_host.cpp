// Host initialisation and the library's run-time state.
#include "frame/execution_host.h"

#include "frame/dynamic_value.h"
#include "frame/handle_table.h"
#include "frame/library_state.h"
#include "frame/vm_string.h"
#include "platform/modules.h"
#include "system/device_membership.h"

namespace tq {
namespace {

bool gWorkerRunning = false;

// The services queried first, in the VM's order, then those after the services object.
constexpr int kFirstServices[] = {9, 10, 12, 13, 2, 18, 15, 14, 17};
constexpr int kLaterServices[] = {1, 5, 3, 4, 8};

}  // namespace

std::mutex& WorkerGuard() {
  static std::mutex guard;
  return guard;
}
bool& WorkerRunning() { return gWorkerRunning; }

bool ExecutionHost::Initialise(void* module, intptr_t servicesObject) {
  LibraryState& lib = Library();
  if (module != nullptr) {
    vmModule = module;
    vmExecution = reinterpret_cast<VMServiceQuery>(reinterpret_cast<void*>(
        ce::GetProcAddress(static_cast<ce::HMODULE>(module), "Execution")));
    if (vmExecution == nullptr) return false;
    for (int service : kFirstServices) {
      const intptr_t value = vmExecution(kServiceQueryCode, service);
      switch (service) {
        case 2:
          lib.languageCode = static_cast<int32_t>(value);
          break;
        case 12:
          lib.eventParameter = value;  // the text services cell
          break;
        case 13:
          SetAllocator(reinterpret_cast<VMObject*>(value));
          break;
        case 18:
          if (value != 0) lib.languageCell = reinterpret_cast<int32_t*>(value);
          break;
        default:
          break;
      }
      lib.vmService[service] = value;
    }
    lib.vmService[7] = servicesObject != 0 ? servicesObject : vmExecution(kServiceQueryCode, 7);
    for (int service : kLaterServices) {
      const intptr_t value = vmExecution(kServiceQueryCode, service);
      if (service == 8) {
        if (value > lib.vmService[8]) lib.vmService[8] = value;  // a running maximum
      } else {
        lib.vmService[service] = value;
      }
    }
  }
  Start();
  return true;
}

int32_t ExecutionHost::Start() {
  Handles().Reset();
  EnterDevice();
  workerGuardReady_ = true;
  std::lock_guard lock(WorkerGuard());
  gWorkerRunning = false;
  return 1;
}

void ExecutionHost::End() {
  // The device functions' global objects and the background worker belong to later families;
  // with none running, stopping them is clearing the flag.
  if (workerGuardReady_) {
    std::lock_guard lock(WorkerGuard());
    gWorkerRunning = false;
  }
  workerGuardReady_ = false;
  Handles().ReleaseAll();
  LeaveDevice();
}

int32_t ExecutionHost::EnumerateObjects(intptr_t* arguments, int32_t) {
  Handles().Enumerate(reinterpret_cast<VMObject*>(arguments));
  return 1;
}

}  // namespace tq

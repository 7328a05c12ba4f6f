// The stand-in's procedure objects (p:NAME) and the log of the calls the library makes to
// them. A procedure returns true. Calls may come from any thread: the log is guarded, and the
// runner takes what has arrived when a line's call returns (and once more when the script
// ends).
#include <map>
#include <memory>
#include <mutex>

#include "frame/vm_procedure.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

// Standard layout, the VM object first: the object's address is the procedure's.
struct HostProcedure {
  tq::VMObject object;
  const std::u16string* name;  // the key of its entry in gProcedures
  int32_t registrations;
};

std::mutex gMutex;  // guards everything below
std::map<std::u16string, std::unique_ptr<HostProcedure>> gProcedures;
std::vector<ProcedureCall> gCalls;

HostProcedure* Self(tq::VMObject* object) { return reinterpret_cast<HostProcedure*>(object); }

int32_t Register(tq::VMObject* self) {
  std::lock_guard lock(gMutex);
  return ++Self(self)->registrations;
}

int32_t Unregister(tq::VMObject* self) {
  std::lock_guard lock(gMutex);
  HostProcedure* p = Self(self);
  return p->registrations > 0 ? --p->registrations : 0;
}

int32_t Call(tq::VMObject* self, const tq::DynamicValue* const* arguments, int32_t count,
             tq::DynamicValue* result) {
  ProcedureCall call;
  call.procedure = ToUtf8(*Self(self)->name);
  for (int32_t i = 0; i < count && arguments != nullptr; ++i) {
    const tq::DynamicValue* a = arguments[i];
    call.arguments.push_back(a == nullptr ? HostValue{} : ReadDynamicPayload(*a));
  }
  {
    std::lock_guard lock(gMutex);
    gCalls.push_back(std::move(call));
  }
  if (result != nullptr) tq::SetBoolean(*result, true);
  return 0;
}

void* const kProcedureTable[] = {
    reinterpret_cast<void*>(&Register),
    reinterpret_cast<void*>(&Unregister),
    reinterpret_cast<void*>(&Call),
};

}  // namespace

tq::VMObject* ProcedureNamed(std::u16string_view name) {
  std::lock_guard lock(gMutex);
  auto [it, added] = gProcedures.try_emplace(std::u16string(name));
  if (added) it->second = std::make_unique<HostProcedure>(HostProcedure{{kProcedureTable}, &it->first, 0});
  return &it->second->object;
}

std::vector<ProcedureCall> TakeProcedureCalls() {
  std::lock_guard lock(gMutex);
  std::vector<ProcedureCall> out;
  out.swap(gCalls);
  return out;
}

}  // namespace tqhost

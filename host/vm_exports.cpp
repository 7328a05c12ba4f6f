// The VM module's exports that the library looks up by name ("Execution" as the service
// query, "pQueryProxy", "nConversionDepassementExt", "FinConversion"), and the objects behind
// the numbered services: the text services (12), the allocator (13), the language code (2)
// and its cell (18), the services object (7).
#include <cstring>
#include <deque>
#include <memory>

#include "frame/execution_host.h"
#include "frame/vm_string.h"
#include "host/vm_objects.h"
#include "platform/strings.h"

namespace tqhost {
namespace {

using tq::VMObject;

VMConfig gConfig;
int32_t gLanguageCell = 12;

int32_t Unused(VMObject*) { return 0; }

// Text services: the code page of 8-bit texts, and the two comparisons.
int32_t CodePageOf(VMObject*, const char*, int32_t) { return 1252; }
int32_t Compare(VMObject*, uint32_t flags, const char16_t* a, int32_t na, const char16_t* b,
                int32_t nb) {
  return ce::CompareStringW(ce::LOCALE_USER_DEFAULT, flags, a, na, b, nb);
}
int32_t CompareLocale(VMObject*, uint32_t, uint32_t flags, const char16_t* a, int32_t na,
                      const char16_t* b, int32_t nb) {
  return ce::CompareStringW(ce::LOCALE_USER_DEFAULT, flags, a, na, b, nb);
}
void* const kTextServicesTable[] = {
    reinterpret_cast<void*>(&Unused),     reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused),     reinterpret_cast<void*>(&CodePageOf),
    reinterpret_cast<void*>(&Unused),     reinterpret_cast<void*>(&Compare),
    reinterpret_cast<void*>(&Unused),     reinterpret_cast<void*>(&CompareLocale),
};
VMObject gTextServices{kTextServicesTable};

// The services object: operation 10 registers a proxy's error state and returns a handle.
intptr_t gNextRegistration = 1;
intptr_t Register(VMObject*, intptr_t, void*) { return gNextRegistration++; }
void* const kServicesObjectTable[] = {
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Unused), reinterpret_cast<void*>(&Unused),
    reinterpret_cast<void*>(&Register),
};
VMObject gServicesObject{kServicesObjectTable};

// The value factory (pQueryProxy id 102): its first operation creates the object behind a
// type-13 value. The objects live until the end of the run.
struct FactoryObject {
  VMObject object;
  const void* handlerTable;
};
std::deque<FactoryObject> gFactoryObjects;
void* const kFactoryObjectTable[] = {reinterpret_cast<void*>(&Unused)};
void* CreateObject(VMObject*, void*, const void* handlerTable) {
  gFactoryObjects.push_back(FactoryObject{VMObject{kFactoryObjectTable}, handlerTable});
  return &gFactoryObjects.back().object;
}
void* const kFactoryTable[] = {reinterpret_cast<void*>(&CreateObject)};
VMObject gValueFactory{kFactoryTable};

// Temporaries of conversions in progress: FinConversion releases them.
struct Temporary {
  HostValue value;
};

}  // namespace

void ConfigureVM(const VMConfig& config) {
  gConfig = config;
  gLanguageCell = config.language;
}
const VMConfig& CurrentVMConfig() { return gConfig; }

intptr_t VMService(intptr_t number) {
  switch (number) {
    case 2: return gConfig.language;
    case 7: return reinterpret_cast<intptr_t>(&gServicesObject);
    case 9: return 0;  // no event filter
    case 12: return reinterpret_cast<intptr_t>(&gTextServices);
    case 13: return reinterpret_cast<intptr_t>(Allocator());
    case 18: return reinterpret_cast<intptr_t>(&gLanguageCell);
    default: return 0;  // stored and forwarded by the library; nothing behind them here
  }
}

}  // namespace tqhost

#define TQ_VM_EXPORT extern "C" __attribute__((visibility("default")))

// The service query: always called with 3053 and a service number.
TQ_VM_EXPORT intptr_t Execution(int32_t code, intptr_t service) {
  if (code != tq::kServiceQueryCode) return 0;
  return tqhost::VMService(service);
}

TQ_VM_EXPORT void* pQueryProxy(int32_t id) {
  return id == 102 ? &tqhost::gValueFactory : nullptr;
}

// Converts a payload of type `from` into the temporary `result` as type `to`. Codes of 100 and
// more are errors: 101 when the value cannot take the target type.
TQ_VM_EXPORT int32_t nConversionDepassementExt(const void* payload, int32_t from, void* result,
                                               int32_t to, int32_t, int32_t) {
  using namespace tqhost;
  const HostValue source = ReadPayload(payload, static_cast<uint32_t>(from));
  std::optional<HostValue> converted = ConvertValue(source, static_cast<uint32_t>(to));
  if (!converted) return 101;
  tq::DynamicValue temporary;
  if (FillDynamic(*converted, temporary) != 0) return 101;
  const uint8_t target = static_cast<uint8_t>(to & 0xff);
  if (target == 110) {
    // The VM's text object: the temporary holds a pointer to the new text's handle.
    thread_local uint32_t handle;
    handle = KeepVMText(converted->text);
    const uint32_t* address = &handle;
    std::memcpy(result, &address, sizeof address);
    return 0;
  }
  if (target == 28 || target == 16 || target == 121 || target == 122) {
    // The temporary holds a VMString of its own; FinConversion releases it.
    tq::VMString s;
    tq::Assign(s, converted->text);
    std::memcpy(result, &s, sizeof s);
    return 0;
  }
  std::memcpy(result, temporary.payload, tq::PayloadSize(target));
  return 0;
}

TQ_VM_EXPORT int32_t FinConversion(void* result, int32_t to, int32_t, int32_t) {
  const uint8_t target = static_cast<uint8_t>(to & 0xff);
  if (target == 28 || target == 16 || target == 121 || target == 122) {
    tq::VMString s;
    std::memcpy(&s, result, sizeof s);
    tq::Release(s);
  }
  return 0;
}

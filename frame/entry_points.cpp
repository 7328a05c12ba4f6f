// The library's lifecycle: initialisation counting, binding of the VM's conversion services,
// the descriptor queries, proxies, message commands and execution events.
#include "frame/entry_points.h"

#include <new>

#include "frame/component_descriptor.h"
#include "frame/component_proxy.h"
#include "frame/conversion_services.h"
#include "frame/dynamic_value.h"
#include "frame/execution_host.h"
#include "frame/handle_table.h"
#include "frame/library_descriptor.h"
#include "frame/library_state.h"
#include "frame/message_block.h"
#include "frame/message_loader.h"
#include "frame/random_proxy.h"
#include "platform/modules.h"
#include "system/device_globals.h"
#include "system/zone_notifier.h"

namespace tq {

void* QueryProxy(int32_t id) { return entry::QueryProxy(id); }

namespace entry {
namespace {

// A procedure found by name, as the function type its caller knows it by.
template <typename Function>
Function ProcedureAs(ce::HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(ce::GetProcAddress(module, name)));
}

void DestroyHost(LibraryState& lib) {
  delete lib.host;
  lib.host = nullptr;
}

// The task-bar object is created by the device functions; the frame only destroys it.
void DestroyTaskBar(LibraryState& lib) { lib.taskBar = nullptr; }

}  // namespace

int32_t CheckVersion() { return 24; }

int32_t InitLibrary(intptr_t host) {
  LibraryState& lib = Library();
  const int32_t before = lib.initCount++;
  if (before <= 0) {
    lib.hostHandle[0] = lib.hostHandle[1] = lib.hostHandle[2] = host;
    lib.initialised = 1;
  }
  return 1;
}

void TermLibrary() {
  LibraryState& lib = Library();
  if (--lib.initCount != 0) return;
  if (lib.taskBar != nullptr) DestroyTaskBar(lib);
  if (lib.host != nullptr) DestroyHost(lib);
  lib.initialised = 0;
}

int32_t InitConversion(void* vmModule, int32_t versionFrom, int32_t versionTo, intptr_t) {
  if (versionFrom < 2 || versionTo > 2) return 0;
  ConversionServices& c = MutableConversionServices();
  auto module = static_cast<ce::HMODULE>(vmModule);
  c.convert = ProcedureAs<ConversionEntry>(module, "nConversionDepassementExt");
  if (c.convert == nullptr) return 0;
  c.finish = ProcedureAs<FinishConversionEntry>(module, "FinConversion");
  if (c.finish == nullptr) return 0;
  c.queryProxy = ProcedureAs<VMQueryProxyEntry>(module, "pQueryProxy");
  if (c.queryProxy == nullptr) return 0;
  c.vmModule = vmModule;
  c.versionFrom = versionFrom;
  c.versionTo = versionTo;
  c.valueFactory = c.queryProxy(102);
  SetValueFactory(c.valueFactory);
  return 1;
}

intptr_t Information(int32_t query, int32_t index) { return AnswerQuery(query, index); }

intptr_t Command(int32_t command, intptr_t argument) {
  switch (command) {
    case 2:
      Library().stringLoader = reinterpret_cast<StringLoader>(argument);
      return 1;
    case 3: {
      // (ignored, message id, buffer, buffer size in characters, result)
      intptr_t* block = reinterpret_cast<intptr_t*>(argument);
      if (block == nullptr) return 0;
      const int32_t n = LoadMessageInto(static_cast<uint32_t>(block[1]),
                                        reinterpret_cast<char16_t*>(block[2]),
                                        static_cast<int32_t>(block[3]));
      block[4] = n;
      return n;
    }
    case 4:
      return MessageFlagBits(static_cast<uint32_t>(argument), CurrentLanguageCode());
    default:
      return 0;
  }
}

void* QueryProxy(int32_t id) {
  switch (id) {
    case kProxyComponent:
      return CreateComponentProxy(ThisLibrary());
    case kProxyRandom:
      return CreateRandomProxy();
    default:
      return nullptr;
  }
}

void DeclareProxies(int32_t* first, int16_t* second, int32_t* third, int16_t* fourth) {
  if (first) *first = 0;
  if (second) *second = 0;
  if (third) *third = 0;
  if (fourth) *fourth = 0;
}

int32_t Execute(int32_t event, intptr_t* a, int32_t count) {
  LibraryState& lib = Library();
  switch (event) {
    case kEventStart: {
      if (lib.host == nullptr) {
        ExecutionHost* host = new (std::nothrow) ExecutionHost();
        if (host == nullptr) return 0;
        lib.host = host;
        const intptr_t blockSize = a != nullptr ? a[0] : 0;
        void* module = a != nullptr ? reinterpret_cast<void*>(a[1]) : nullptr;
        const intptr_t services = blockSize >= 12 ? a[4] : 0;
        if (!host->Initialise(module, services)) return 0;  // the host stays for a retry
      }
      lib.host->Begin(a != nullptr ? a[2] : 0, a != nullptr ? a[3] : 0);
      ++lib.executionUseCount;
      return 1;
    }
    case kEventStop: {
      if (lib.executionUseCount != 0) {
        if (lib.executionUseCount-- > 1) return 1;
      }
      if (lib.host == nullptr) return 0;
      lib.host->End();
      DestroyHost(lib);
      return 1;
    }
    case kEventParameter:
      lib.eventParameter = reinterpret_cast<intptr_t>(a);
      return 1;
    case kEvent4879:
    case kEvent5684:
    case kEvent5864:
      if (lib.host == nullptr) return 0;
      if (event == kEvent4879) lib.host->Event4879(a, count);
      if (event == kEvent5684) lib.host->Event5684(a, count);
      if (event == kEvent5864) lib.host->Event5864(a, count);
      return 1;
    case kEventFilter: {
      VMObject* filter = EventFilter();
      if (filter != nullptr && CallSlot<int32_t>(filter, 0, a, count) >= 2) {
        if (lib.host == nullptr || lib.host->Confirm() == 0) return 2;
      }
      return 1;
    }
    case kEventEnumerate:
      if (lib.host == nullptr) return 0;
      return lib.host->EnumerateObjects(a, count) != 0 ? 1 : 0;
    default:
      return 0;
  }
}

void LoadLibraryStatics() {
  LinkDescriptor();
  Library().languageCode = LanguageFromVersionMarker(kVersionMarker);
}

void UnloadLibraryStatics() {
  // The finalisers, in reverse order of registration: the HandleTable, the system functions'
  // interface objects, the two device objects, the named synchronisation objects (the zones'
  // notification list and its thread).
  Handles().ReleaseAll();
  ReleaseDeviceGlobals();
  StopZoneNotifications();
}

}  // namespace entry
}  // namespace tq

// ComponentProxy: the library object the VM passes to every implementation entry, one per VM
// execution context (created by pQueryProxy id 60). It carries the current CallContext and
// the error state of the calls made through it; the VM calls its operations by slot.
#pragma once

#include <cstdint>

#include "frame/function_table.h"

namespace tq {

struct CallContext;
struct CXError;
struct ComponentProxy;
struct LibraryDescriptor;

struct ComponentProxyTable {
  int32_t (*constant0)(ComponentProxy*);                                   // 0: 8
  int32_t (*constant1)(ComponentProxy*);                                   // 1: 2
  int32_t (*constant2)(ComponentProxy*);                                   // 2: 8
  void (*nothing3)(ComponentProxy*);                                       // 3
  void (*nothing4)(ComponentProxy*);                                       // 4
  void (*nothing5)(ComponentProxy*);                                       // 5
  void (*destroy)(ComponentProxy*);                                        // 6
  void* (*createCompanion)(ComponentProxy*, int32_t kind);                 // 7
  CXError* (*errorState)(ComponentProxy*);                                 // 8
  int32_t (*initialiseForward)(ComponentProxy*);                           // 9 -> 19
  void (*terminateForward)(ComponentProxy*);                               // 10 -> 20
  int32_t (*setOption)(ComponentProxy*, int32_t option, intptr_t value);   // 11
  CallContext* (*setCallContext)(ComponentProxy*, CallContext* context);   // 12
  int32_t (*dispatch)(ComponentProxy*, CallContext*, ImplementationEntry, void** args);  // 13
  int32_t (*dispatchChecked)(ComponentProxy*, CallContext*, ImplementationEntry,
                             void** args);                                 // 14
  void (*forward23)(ComponentProxy*);                                      // 15 -> 23
  void (*nothing16)(ComponentProxy*);                                      // 16
  void (*nothing17)(ComponentProxy*);                                      // 17
  void (*deletingDestructor)(ComponentProxy*);                             // 18
  int32_t (*initialise)(ComponentProxy*);                                  // 19
  void (*terminate)(ComponentProxy*);                                      // 20
  int32_t (*zero21)(ComponentProxy*);                                      // 21: 0
  void (*nothing22)(ComponentProxy*);                                      // 22
  void (*nothing23)(ComponentProxy*);                                      // 23
  int32_t (*one24)(ComponentProxy*);                                       // 24: 1
  int32_t (*one25)(ComponentProxy*);                                       // 25: 1
  int32_t (*constant26)(ComponentProxy*);                                  // 26: 8
  void (*nothing27)(ComponentProxy*);                                      // 27
};

struct ComponentProxy {
  const ComponentProxyTable* table;
  CallContext* context = nullptr;
  CXError* error = nullptr;
  uint64_t ownerThread = 0;
  uint64_t callingThread = 0;
  // Working fields of Initialise / Terminate / SetOption.
  const LibraryDescriptor* library = nullptr;
  intptr_t registration = 0;  // the handle the VM's services object returned
  intptr_t option1 = 0;
  int32_t usable = 0;
};

ComponentProxy* CreateComponentProxy(const LibraryDescriptor& library);

inline CXError* ErrorStateOf(ComponentProxy* proxy) { return proxy->table->errorState(proxy); }

}  // namespace tq

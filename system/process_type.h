// The process object of the type record "Processus" (type 1281): what the type's constructor
// builds for the VM. The process functions work on process ids and names, so the object
// needs no more than a process id (0: none yet) and reference counting; its operations, in
// slot order: 0 AddRef; 1 Release (destroys the object at 0 and returns 0, else the new
// count); 2 ProcessId; 3 SetProcessId(pid); 4 deleting destructor.
#pragma once

#include <cstdint>

namespace tq {

struct ProcessTypeObject;
struct ProcessTypeTable {
  int32_t (*addRef)(ProcessTypeObject*);                   // 0
  int32_t (*release)(ProcessTypeObject*);                  // 1
  uint32_t (*processId)(ProcessTypeObject*);               // 2
  void (*setProcessId)(ProcessTypeObject*, uint32_t pid);  // 3
  void (*deletingDestructor)(ProcessTypeObject*);          // 4
};

struct ProcessTypeObject {
  const ProcessTypeTable* table;
  int32_t references;
  uint32_t pid;
};

// A new object with one reference and no process.
ProcessTypeObject* ConstructProcessTypeObject();

}  // namespace tq

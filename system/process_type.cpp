// The process object handed to the VM by the "Processus" type's constructor.
#include "system/process_type.h"

namespace tq {
namespace {

int32_t AddRef(ProcessTypeObject* p) { return ++p->references; }
void DeletingDestructor(ProcessTypeObject* p) { delete p; }
int32_t Release(ProcessTypeObject* p) {
  if (--p->references <= 0) {
    p->table->deletingDestructor(p);
    return 0;
  }
  return p->references;
}
uint32_t ProcessId(ProcessTypeObject* p) { return p->pid; }
void SetProcessId(ProcessTypeObject* p, uint32_t pid) { p->pid = pid; }

constexpr ProcessTypeTable kTable = {&AddRef, &Release, &ProcessId, &SetProcessId,
                                     &DeletingDestructor};

}  // namespace

ProcessTypeObject* ConstructProcessTypeObject() {
  return new ProcessTypeObject{&kTable, 1, 0};
}

}  // namespace tq

// The ComponentProxy's behaviour table. Most slots are fixed answers the VM expects; the
// working ones are the call context, the error state, and the registration with the VM's
// services object.
#include "frame/component_proxy.h"

#include <pthread.h>

#include "platform/crt_random.h"

#include "frame/call_context.h"
#include "frame/error_state.h"
#include "frame/library_descriptor.h"
#include "frame/library_state.h"

namespace tq {
namespace {

uint64_t ThisThread() { return static_cast<uint64_t>(pthread_self()); }

// A companion object of kind 1 or 2: reference counted, bound to its proxy.
struct Companion;
struct CompanionTable {
  int32_t (*addRef)(Companion*);
  int32_t (*release)(Companion*);
};
struct Companion {
  const CompanionTable* table;
  int32_t references;
  int32_t kind;
  ComponentProxy* proxy;
};
int32_t CompanionAddRef(Companion* c) { return ++c->references; }
int32_t CompanionRelease(Companion* c) {
  const int32_t left = --c->references;
  if (left <= 0) delete c;
  return left > 0 ? left : 0;
}
constexpr CompanionTable kCompanionTable = {&CompanionAddRef, &CompanionRelease};

int32_t Eight(ComponentProxy*) { return 8; }
int32_t Two(ComponentProxy*) { return 2; }
int32_t Zero(ComponentProxy*) { return 0; }
int32_t One(ComponentProxy*) { return 1; }
void Nothing(ComponentProxy*) {}

void Terminate(ComponentProxy* p) {
  p->registration = 0;
  p->usable = 0;
}

void DeletingDestructor(ComponentProxy* p) {
  Terminate(p);
  if (p->error != nullptr) ReleaseReference(p->error);
  delete p;
}

void* CreateCompanion(ComponentProxy* p, int32_t kind) {
  if (kind != 1 && kind != 2) return nullptr;
  return new Companion{&kCompanionTable, 1, kind, p};
}

CXError* ErrorState(ComponentProxy* p) { return p->error; }

int32_t SetOption(ComponentProxy* p, int32_t option, intptr_t value) {
  if (option != 1) return 0;
  p->option1 = value;
  return 1;
}

CallContext* SetCallContext(ComponentProxy* p, CallContext* context) {
  CallContext* previous = p->context;
  p->context = context;
  p->callingThread = ThisThread();
  return previous;
}

int32_t Dispatch(ComponentProxy* p, CallContext* context, ImplementationEntry entry, void** args) {
  CallContext* previous = SetCallContext(p, context);
  const int32_t result = entry != nullptr ? entry(context, p, args) : 0;
  p->context = previous;
  return result;
}

int32_t DispatchChecked(ComponentProxy* p, CallContext* context, ImplementationEntry entry,
                        void** args) {
  Dispatch(p, context, entry, args);
  return p->error->level == kLevelNone ? 1 : 0;
}

int32_t Initialise(ComponentProxy* p) {
  ce::srand(0);
  p->usable = 1;
  VMObject* services = ServicesObject();
  if (services == nullptr) return 0;
  p->registration =
      CallSlot<intptr_t>(services, 10, intptr_t{0}, static_cast<void*>(p->error));
  return p->registration != 0 ? 1 : 0;
}

int32_t InitialiseForward(ComponentProxy* p) { return p->table->initialise(p); }
void TerminateForward(ComponentProxy* p) { p->table->terminate(p); }
void Forward23(ComponentProxy* p) { p->table->nothing23(p); }

constexpr ComponentProxyTable kProxyTable = {
    &Eight,          &Two,          &Eight,    &Nothing,        &Nothing,
    &Nothing,        &DeletingDestructor, &CreateCompanion, &ErrorState, &InitialiseForward,
    &TerminateForward, &SetOption,  &SetCallContext, &Dispatch, &DispatchChecked,
    &Forward23,      &Nothing,      &Nothing,  &DeletingDestructor, &Initialise,
    &Terminate,      &Zero,         &Nothing,  &Nothing,        &One,
    &One,            &Eight,        &Nothing,
};

}  // namespace

ComponentProxy* CreateComponentProxy(const LibraryDescriptor& library) {
  ComponentProxy* proxy = new ComponentProxy{&kProxyTable};
  proxy->error = new CXError();
  AddReference(proxy->error);
  proxy->library = &library;
  proxy->ownerThread = ThisThread();
  return proxy;
}

}  // namespace tq

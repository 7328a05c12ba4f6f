// The VM's start-up and shutdown protocol around one loaded library.
#include "host/library_session.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "frame/address_sanitizer.h"
#include "frame/vm_string.h"
#include "host/vm_objects.h"

namespace tqhost {
namespace {

constexpr intptr_t kHostHandle = 0x7140;  // the VM's own handle value, opaque to the library
constexpr int32_t kEventStart = 3985;
constexpr int32_t kEventStop = 4875;
constexpr int32_t kProxyComponent = 60;
constexpr int32_t kQueryFunctionRecords = 21;
constexpr int32_t kQueryFunctionCount = 22;

template <typename T>
bool Resolve(void* handle, const char* name, T& out, std::string& error) {
  out = reinterpret_cast<T>(dlsym(handle, name));
  if (out == nullptr) error = std::string("the library does not export ") + name;
  return out != nullptr;
}

}  // namespace

std::string ExecutableDirectory() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string p(path, static_cast<size_t>(n));
  const size_t slash = p.rfind('/');
  return slash == std::string::npos ? "." : p.substr(0, slash);
}

// Under the address sanitizer the library stays mapped after it is closed: its lifecycle runs
// as always (termination, finalisers at close or exit), but the objects it keeps for the whole
// process (caches, device singletons) stay reachable from its static storage, so the leak check
// at exit reports only memory that is really lost.
constexpr int kKeepMapped = tq::kAddressSanitizer ? RTLD_NODELETE : 0;

bool LibrarySession::Open(const std::string& libraryPath) {
  tq::SetAllocator(Allocator());
  handle_ = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL | kKeepMapped);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    error_ = why ? why : "cannot load the library";
    return false;
  }
  LibraryExports& e = exports_;
  if (!Resolve(handle_, "CheckVersion", e.checkVersion, error_) ||
      !Resolve(handle_, "bExternalInitLibrary", e.initLibrary, error_) ||
      !Resolve(handle_, "ExternalTermLibrary", e.termLibrary, error_) ||
      !Resolve(handle_, "bInitTLConvFromVM", e.initConversion, error_) ||
      !Resolve(handle_, "InfoComposante", e.information, error_) ||
      !Resolve(handle_, "CommandeComposante", e.command, error_) ||
      !Resolve(handle_, "pQueryProxy", e.queryProxy, error_) ||
      !Resolve(handle_, "DeclareProxy", e.declareProxy, error_) ||
      !Resolve(handle_, "Execution", e.execution, error_))
    return false;
  if (e.checkVersion() != 24) {
    error_ = "the library reports a version other than 24";
    return false;
  }
  e.initLibrary(kHostHandle);
  vmModule_ = dlopen(nullptr, RTLD_NOW);
  if (e.initConversion(vmModule_, 2, 2, 0) == 0) {
    error_ = "the library could not bind the VM's conversion services";
    e.termLibrary();
    return false;
  }
  records_ = reinterpret_cast<const tq::FunctionRecord*>(e.information(kQueryFunctionRecords, 0));
  // The function count excludes the type member, which closes the table.
  recordCount_ = static_cast<size_t>(e.information(kQueryFunctionCount, 0)) + 1;
  intptr_t start[5] = {static_cast<intptr_t>(sizeof start), reinterpret_cast<intptr_t>(vmModule_),
                       0, 0, VMService(7)};
  if (e.execution(kEventStart, start, 5) == 0) {
    error_ = "the library refused to start the execution";
    e.termLibrary();
    return false;
  }
  started_ = true;
  proxy_ = static_cast<tq::ComponentProxy*>(e.queryProxy(kProxyComponent));
  if (proxy_ == nullptr) {
    error_ = "the library gave no ComponentProxy";
    Close();
    return false;
  }
  proxy_->table->initialise(proxy_);
  return true;
}

void LibrarySession::Close() {
  if (handle_ == nullptr) return;
  if (proxy_ != nullptr) {
    proxy_->table->terminate(proxy_);
    proxy_->table->destroy(proxy_);
    proxy_ = nullptr;
  }
  if (started_) {
    exports_.execution(kEventStop, nullptr, 0);
    started_ = false;
  }
  exports_.termLibrary();
  dlclose(handle_);
  handle_ = nullptr;
  if (vmModule_ != nullptr) dlclose(vmModule_);
  vmModule_ = nullptr;
  ReleaseArrays();
}

const tq::FunctionRecord* LibrarySession::FindRecord(uint32_t id) const {
  for (size_t i = 0; i < recordCount_; ++i)
    if (records_[i].id == id) return &records_[i];
  return nullptr;
}

const tq::OverloadEntry* LibrarySession::OverloadsOf(const tq::FunctionRecord& record) const {
  const size_t owner = tq::OverloadOwnerIndex(record);
  return owner < recordCount_ ? records_[owner].overloads : record.overloads;
}

int32_t LibrarySession::Call(tq::ImplementationEntry entry, tq::CallContext& context,
                             void** args) {
  // The VM clears the error state before a call and reads it afterwards.
  tq::CXError* state = tq::ErrorStateOf(proxy_);
  state->level = 1;
  state->errorId = 0;
  state->category = 0;
  state->systemCode = 0;
  // Texts left by an earlier call are freed through the error state's own operation; the
  // empty ones (nearly all, call after call) need no call at all.
  static constexpr tq::OwnedText tq::CXError::*kTexts[] = {
      &tq::CXError::message,    &tq::CXError::diagnostics,   &tq::CXError::extra,
      &tq::CXError::moduleName, &tq::CXError::moduleVersion, &tq::CXError::systemMessage,
      &tq::CXError::further1,   &tq::CXError::further2};  // fields 0..7
  for (int field = 0; field <= 7; ++field)
    if ((state->*kTexts[field]).buffer() != nullptr) state->table->freeText(state, field);
  // The VM makes the proxy current for the call; the proxy keeps that context until the next
  // call makes another one current.
  proxy_->table->setCallContext(proxy_, &context);
  return entry(&context, proxy_, args);
}

ErrorReport LibrarySession::ReadErrorState() const {
  const tq::CXError* state = tq::ErrorStateOf(proxy_);
  ErrorReport r;
  r.level = state->level;
  r.id = state->errorId;
  r.message = std::u16string(state->message.view());
  r.systemCode = state->systemCode;
  r.systemMessage = std::u16string(state->systemMessage.view());
  r.diagnostics = std::u16string(state->diagnostics.view());
  return r;
}

}  // namespace tqhost
